#include "versioninfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QTableWidget>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "versionfile.h"

namespace helidisk {
namespace {

constexpr qsizetype kMaxTypeNameCharacters = 80;

// The shell's type name of a file: the MIME database's description of it.
bool ShellTypeName(const QString& fileName, std::string& typeName) {
  if (!QFileInfo::exists(fileName)) return false;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName);
  QString comment = type.comment();
  if (!type.isValid() || comment.isEmpty()) return false;
  comment.truncate(kMaxTypeNameCharacters);
  if (comment.back().isHighSurrogate()) comment.chop(1);
  typeName = comment.toLocal8Bit().toStdString();
  return true;
}

// A program is a regular file the user may execute that is either compiled
// (ELF) or a script with an interpreter line.
bool IsExecutableProgram(const QString& fileName) {
  const QFileInfo info(fileName);
  if (!info.isFile() || !info.isExecutable()) return false;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.read(4);
  return start == QByteArrayLiteral(
                      "\x7F"
                      "ELF") ||
         start.startsWith("#!");
}

std::string StringTablePath(std::uint32_t translation, std::string_view key) {
  std::array<char, 9> languageAndCodePage{};
  std::snprintf(languageAndCodePage.data(), languageAndCodePage.size(), "%.4X%.4X",
                translation & 0xFFFF, translation >> 16);
  return std::string("\\StringFileInfo\\") + languageAndCodePage.data() + "\\" + std::string(key);
}

// Reads the block afresh and looks the key up under the first translation.
std::string QueryVersionString(const std::string& fileName, std::uint32_t handle,
                               std::span<std::uint8_t> buffer, std::string_view key) {
  if (!GetFileVersionInfo(fileName, handle, buffer)) return {};
  std::span<const std::uint8_t> translations;
  if (!VerQueryValue(buffer, "\\VarFileInfo\\Translation", translations) ||
      translations.size() < 4) {
    return {};
  }
  std::span<const std::uint8_t> text;
  if (!VerQueryValue(buffer, StringTablePath(ValueWord(translations, 0), key), text)) return {};
  return std::string(ValueText(text));
}

bool FlagSet(const VsFixedFileInfo& fixed, std::uint32_t flag) {
  return (flag & fixed.dwFileFlagsMask & fixed.dwFileFlags) == flag;
}

std::string DriverText(std::uint32_t subtype) {
  static constexpr std::array<const char*, 11> kDrivers = {
      "Unknown Driver",    "Printer Driver", "Keyboard Driver",      "Language Driver",
      "Display Driver",    "Mouse Driver",   "Network Driver",       "System Driver",
      "InstallableDriver", "Sound Driver",   "Communications Driver"};
  return subtype < kDrivers.size() ? kDrivers[subtype] : "";
}

std::string FontText(std::uint32_t subtype) {
  static constexpr std::array<const char*, 4> kFonts = {"Unknown Font", "Raster Font",
                                                        "Vector Font", "Truetype Font"};
  return subtype < kFonts.size() ? kFonts[subtype] : "";
}

std::string VirtualDeviceText(std::uint32_t subtype) {
  std::array<char, 9> hex{};
  std::snprintf(hex.data(), hex.size(), "%.8X", subtype);
  return std::string("Virtual Defice Identifier = ") + hex.data();
}

void SetCell(QTableWidget& grid, int row, int column, const std::string& text) {
  QTableWidgetItem* item = grid.item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    grid.setItem(row, column, item);
  }
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setText(QString::fromLocal8Bit(text));
}

}  // namespace

std::string FileFunctionText(const VsFixedFileInfo& info) {
  switch (info.dwFileType) {
    case 0:
      return "Unknown";
    case 1:
      return "Application";
    case 2:
      return "DLL";
    case 3:
      return DriverText(info.dwFileSubtype);
    case 4:
      return FontText(info.dwFileSubtype);
    case 5:
      return VirtualDeviceText(info.dwFileSubtype);
    case 7:
      return "Static-link Library";
    default:
      return "";
  }
}

void ReadVersionInfo(const QString& fileName, TFileVersionInfo& info) {
  info = TFileVersionInfo{};
  std::string typeName;
  if (ShellTypeName(fileName, typeName)) info.FileType = typeName;
  if (!IsExecutableProgram(fileName)) return;

  const std::string localFileName = QFile::encodeName(fileName).toStdString();
  std::uint32_t handle = 0;
  const std::uint32_t size = GetFileVersionInfoSize(localFileName, handle);
  if (size == 0) return;
  std::vector<std::uint8_t> buffer(size);

  struct KeyField {
    std::string_view key;
    std::string TFileVersionInfo::*field;
  };
  // The keys as the About grid names them; the lookup ignores letter case,
  // so they also find a block that spells "LegalCopyright".
  static constexpr std::array<KeyField, 12> kKeyFields = {{
      {"CompanyName", &TFileVersionInfo::CompanyName},
      {"FileDescription", &TFileVersionInfo::FileDescription},
      {"FileVersion", &TFileVersionInfo::FileVersion},
      {"InternalName", &TFileVersionInfo::InternalName},
      {"LegalCopyRight", &TFileVersionInfo::LegalCopyRight},
      {"LegalTradeMarks", &TFileVersionInfo::LegalTradeMarks},
      {"OriginalFileName", &TFileVersionInfo::OriginalFileName},
      {"ProductName", &TFileVersionInfo::ProductName},
      {"ProductVersion", &TFileVersionInfo::ProductVersion},
      {"Comments", &TFileVersionInfo::Comments},
      {"SpecialBuild", &TFileVersionInfo::SpecialBuildStr},
      {"PrivateBuild", &TFileVersionInfo::PrivateBuildStr},
  }};
  for (const KeyField& keyField : kKeyFields) {
    info.*keyField.field = QueryVersionString(localFileName, handle, buffer, keyField.key);
  }

  // The buffer as the last key's read left it.
  std::span<const std::uint8_t> root;
  if (!VerQueryValue(buffer, "", root)) return;
  const VsFixedFileInfo fixed = ReadFixedFileInfo(root);
  info.DebugBuild = FlagSet(fixed, 0x01);
  info.PreRelease = FlagSet(fixed, 0x02);
  info.PrivateBuild = FlagSet(fixed, 0x08);
  info.SpecialBuild = FlagSet(fixed, 0x20);
  info.Patched = FlagSet(fixed, 0x04);
  info.InfoInferred = FlagSet(fixed, 0x10);
  info.FileFunction = FileFunctionText(fixed);
}

void FillVersionGrid(QTableWidget& grid) {
  FillVersionGrid(grid, QCoreApplication::applicationFilePath());
}

void FillVersionGrid(QTableWidget& grid, const QString& fileName) {
  TFileVersionInfo info;
  ReadVersionInfo(fileName, info);
  const auto yesNo = [](bool flag) { return std::string(BoolText[flag ? 1 : 0]); };
  const std::array<std::array<std::string, 2>, 17> rows = {{
      {"FileType        ", info.FileType},
      {"CompanyName     ", info.CompanyName},
      {"FileDescription ", info.FileDescription},
      {"FileVersion     ", info.FileVersion},
      {"InternalName    ", info.InternalName},
      {"LegalCopyRight  ", info.LegalCopyRight},
      {"LegalTradeMarks ", info.LegalTradeMarks},
      {"OriginalFileName", info.OriginalFileName},
      {"ProductName     ", info.ProductName},
      {"ProductVersion  ", info.ProductVersion},
      {"SpecialBuildStr ", info.SpecialBuildStr},
      {"PrivateBuildStr ", info.PrivateBuildStr},
      {"FileFunction    ", info.FileFunction},
      {"DebugBuild      ", yesNo(info.DebugBuild)},
      {"PreRelease      ", yesNo(info.PreRelease)},
      {"PrivateBuild    ", yesNo(info.PrivateBuild)},
      {"SpecialBuild    ", yesNo(info.SpecialBuild)},
  }};
  grid.setColumnCount(2);
  grid.setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < grid.rowCount(); ++row) {
    for (int column = 0; column < 2; ++column) {
      SetCell(grid, row, column,
              rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    }
  }
}

}  // namespace helidisk
