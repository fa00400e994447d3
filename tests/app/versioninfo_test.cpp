#include "versioninfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <string>
#include <vector>

#include "block_builder.h"
#include "elf_image.h"

namespace helidisk {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BlockBuilder;

// The strings of one string table, key and text.
using StringTable = std::vector<std::pair<std::string, std::string>>;

struct CraftedBlock {
  bool withFixedInfo = true;
  VsFixedFileInfo fixed = testing::FixedInfo(1, 0);
  std::vector<std::uint32_t> translations = {0x04E40809};
  std::vector<std::pair<std::string, StringTable>> tables = {
      {"080904E4", {{"CompanyName", "ACME"}, {"FileVersion", "2.3.4.5"}}}};
};

Bytes Build(const CraftedBlock& crafted) {
  BlockBuilder builder;
  auto& writer = builder.Writer();
  const auto fixed = FixedFileInfoWords(crafted.fixed);
  if (crafted.withFixedInfo) {
    writer.OpenNode(kVersionRootKey, fixed);
  } else {
    writer.OpenNode(kVersionRootKey);
  }
  writer.OpenNode("StringFileInfo");
  for (const auto& [tableKey, strings] : crafted.tables) {
    writer.OpenNode(tableKey);
    for (const auto& [key, text] : strings) {
      writer.OpenTextNode(key, text);
      writer.CloseNode();
    }
    writer.CloseNode();
  }
  writer.CloseNode();
  if (!crafted.translations.empty()) {
    writer.OpenNode("VarFileInfo");
    writer.OpenNode("Translation", crafted.translations);
    writer.CloseNode();
    writer.CloseNode();
  }
  writer.CloseNode();
  return builder.Bytes();
}

Bytes ElfWithBlock(const Bytes& block) {
  return testing::MakeElf({{".text", Bytes(64, 0xC3)}, {".helidisk_version", block}}).bytes;
}

constexpr QFile::Permissions kExecutable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther;
constexpr QFile::Permissions kNotExecutable =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

QString WriteFile(const QTemporaryDir& dir, const QString& name, const Bytes& bytes,
                  QFile::Permissions permissions = kExecutable) {
  QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.setPermissions(permissions)) {
    qFatal("cannot write %s", qPrintable(path));
  }
  return path;
}

TFileVersionInfo Read(const QString& fileName) {
  TFileVersionInfo info;
  ReadVersionInfo(fileName, info);
  return info;
}

QString Q(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// The 13 version texts and 6 flags, leaving out FileType.
QStringList VersionFields(const TFileVersionInfo& info) {
  QStringList fields;
  for (const std::string* text :
       {&info.CompanyName, &info.FileDescription, &info.FileVersion, &info.InternalName,
        &info.LegalCopyRight, &info.LegalTradeMarks, &info.OriginalFileName, &info.ProductName,
        &info.ProductVersion, &info.Comments, &info.SpecialBuildStr, &info.PrivateBuildStr,
        &info.FileFunction}) {
    fields << Q(*text);
  }
  for (const bool flag : {info.DebugBuild, info.PreRelease, info.SpecialBuild, info.PrivateBuild,
                          info.Patched, info.InfoInferred}) {
    fields << (flag ? "1" : "0");
  }
  return fields;
}

const QStringList kNothingRead = VersionFields(TFileVersionInfo{});

const std::array<const char*, 17> kLabels = {
    "FileType        ", "CompanyName     ", "FileDescription ", "FileVersion     ",
    "InternalName    ", "LegalCopyRight  ", "LegalTradeMarks ", "OriginalFileName",
    "ProductName     ", "ProductVersion  ", "SpecialBuildStr ", "PrivateBuildStr ",
    "FileFunction    ", "DebugBuild      ", "PreRelease      ", "PrivateBuild    ",
    "SpecialBuild    "};

QString Cell(const QTableWidget& grid, int row, int column) {
  const QTableWidgetItem* item = grid.item(row, column);
  return item == nullptr ? QStringLiteral("<no item>") : item->text();
}

}  // namespace

class VersionInfoTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void boolText() {
    QCOMPARE(Q(BoolText[false]), "No");
    QCOMPARE(Q(BoolText[true]), "Yes");
  }

  void fileFunctionText_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("subtype");
    QTest::addColumn<QString>("text");
    struct Row {
      quint32 type, subtype;
      const char* text;
    };
    const Row rows[] = {
        {0, 0, "Unknown"},
        {0, 9, "Unknown"},
        {1, 0, "Application"},
        {1, 0xFFFFFFFF, "Application"},
        {2, 3, "DLL"},
        {3, 0, "Unknown Driver"},
        {3, 1, "Printer Driver"},
        {3, 2, "Keyboard Driver"},
        {3, 3, "Language Driver"},
        {3, 4, "Display Driver"},
        {3, 5, "Mouse Driver"},
        {3, 6, "Network Driver"},
        {3, 7, "System Driver"},
        {3, 8, "InstallableDriver"},
        {3, 9, "Sound Driver"},
        {3, 10, "Communications Driver"},
        {3, 11, ""},
        {3, 0xFFFFFFFF, ""},
        {4, 0, "Unknown Font"},
        {4, 1, "Raster Font"},
        {4, 2, "Vector Font"},
        {4, 3, "Truetype Font"},
        {4, 4, ""},
        {4, 0x80000000, ""},
        {5, 0, "Virtual Defice Identifier = 00000000"},
        {5, 0x1A, "Virtual Defice Identifier = 0000001A"},
        {5, 0xDEADBEEF, "Virtual Defice Identifier = DEADBEEF"},
        {6, 0, ""},
        {7, 0, "Static-link Library"},
        {7, 12, "Static-link Library"},
        {8, 0, ""},
        {0x10001, 0, ""},
        {0xFFFFFFFF, 1, ""},
    };
    for (const Row& row : rows) {
      QTest::addRow("type %u subtype %u", row.type, row.subtype)
          << row.type << row.subtype << QString::fromLatin1(row.text);
    }
  }

  void fileFunctionText() {
    QFETCH(quint32, type);
    QFETCH(quint32, subtype);
    QFETCH(QString, text);
    VsFixedFileInfo info = testing::FixedInfo(type, subtype);
    QCOMPARE(QString::fromStdString(FileFunctionText(info)), text);
  }

  void readsAllFieldsOfACraftedProgram() {
    CraftedBlock crafted;
    crafted.fixed = testing::FixedInfo(1, 0, 0x3F, 0);
    crafted.tables = {{"080904E4",
                       {{"CompanyName", "c"},
                        {"FileDescription", "fd"},
                        {"FileVersion", "fv"},
                        {"InternalName", "in"},
                        {"LegalCopyRight", "lc"},
                        {"LegalTradeMarks", "lt"},
                        {"OriginalFileName", "of"},
                        {"ProductName", "pn"},
                        {"ProductVersion", "pv"},
                        {"Comments", "co"},
                        {"SpecialBuild", "sb"},
                        {"PrivateBuild", "pb"}}}};
    const TFileVersionInfo info = Read(WriteFile(dir_, "all", ElfWithBlock(Build(crafted))));
    const QStringList expected = {"c",  "fd", "fv", "in", "lc", "lt",          "of",
                                  "pn", "pv", "co", "sb", "pb", "Application", "0",
                                  "0",  "0",  "0",  "0",  "0"};
    QCOMPARE(VersionFields(info), expected);
    QVERIFY(!info.FileType.empty());
  }

  void keysMatchInAnyLetterCase() {
    CraftedBlock crafted;
    crafted.tables = {{"080904e4",
                       {{"LegalCopyright", "(C) ACME"},
                        {"LEGALTRADEMARKS", "TM"},
                        {"originalfilename", "acme"},
                        {"companyName", "ACME"}}}};
    const TFileVersionInfo info = Read(WriteFile(dir_, "cases", ElfWithBlock(Build(crafted))));
    QCOMPARE(Q(info.LegalCopyRight), "(C) ACME");
    QCOMPARE(Q(info.LegalTradeMarks), "TM");
    QCOMPARE(Q(info.OriginalFileName), "acme");
    QCOMPARE(Q(info.CompanyName), "ACME");
  }

  void onlyTheFirstTranslationIsShown() {
    CraftedBlock crafted;
    crafted.translations = {0x04B00407, 0x04E40809};
    crafted.tables = {{"080904E4", {{"CompanyName", "British"}, {"ProductName", "Only British"}}},
                      {"040704B0", {{"CompanyName", "Deutsch"}, {"Comments", "Nur deutsch"}}}};
    const TFileVersionInfo info =
        Read(WriteFile(dir_, "translations", ElfWithBlock(Build(crafted))));
    QCOMPARE(Q(info.CompanyName), "Deutsch");
    QCOMPARE(Q(info.Comments), "Nur deutsch");
    QCOMPARE(Q(info.ProductName), "");
  }

  void translationPathUsesFourUpperCaseDigitsEach() {
    CraftedBlock crafted;
    crafted.translations = {0x00AB000C};
    crafted.tables = {{"000C00AB", {{"CompanyName", "padded"}}}};
    const TFileVersionInfo info = Read(WriteFile(dir_, "digits", ElfWithBlock(Build(crafted))));
    QCOMPARE(Q(info.CompanyName), "padded");
  }

  void flags_data() {
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<quint32>("flags");
    // DebugBuild, PreRelease, SpecialBuild, PrivateBuild, Patched, InfoInferred
    QTest::addColumn<QString>("expected");
    QTest::newRow("none set") << 0x3Fu << 0x00u << QString("000000");
    QTest::newRow("all set") << 0x3Fu << 0x3Fu << QString("111111");
    QTest::newRow("debug") << 0x3Fu << 0x01u << QString("100000");
    QTest::newRow("pre-release") << 0x3Fu << 0x02u << QString("010000");
    QTest::newRow("patched") << 0x3Fu << 0x04u << QString("000010");
    QTest::newRow("private") << 0x3Fu << 0x08u << QString("000100");
    QTest::newRow("inferred") << 0x3Fu << 0x10u << QString("000001");
    QTest::newRow("special") << 0x3Fu << 0x20u << QString("001000");
    QTest::newRow("masked off") << 0x15u << 0x3Fu << QString("100011");
    QTest::newRow("mask without flags") << 0xFFFFFFFFu << 0x00u << QString("000000");
    QTest::newRow("flags without mask") << 0x00u << 0x3Fu << QString("000000");
    QTest::newRow("other bits") << 0xFFFFFFC0u << 0xFFFFFFC0u << QString("000000");
  }

  void flags() {
    QFETCH(quint32, mask);
    QFETCH(quint32, flags);
    QFETCH(QString, expected);
    CraftedBlock crafted;
    crafted.fixed = testing::FixedInfo(2, 0, mask, flags);
    const TFileVersionInfo info = Read(WriteFile(dir_, "flags", ElfWithBlock(Build(crafted))));
    QString got;
    for (const bool flag : {info.DebugBuild, info.PreRelease, info.SpecialBuild, info.PrivateBuild,
                            info.Patched, info.InfoInferred}) {
      got += flag ? '1' : '0';
    }
    QCOMPARE(got, expected);
    QCOMPARE(Q(info.FileFunction), "DLL");
  }

  void fileFunctionFromTheFile_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("subtype");
    QTest::addColumn<QString>("text");
    QTest::newRow("virtual device 0")
        << 5u << 0u << QString("Virtual Defice Identifier = 00000000");
    QTest::newRow("virtual device")
        << 5u << 0xBEEFu << QString("Virtual Defice Identifier = 0000BEEF");
    QTest::newRow("type 6") << 6u << 0u << QString("");
    QTest::newRow("type 8") << 8u << 0u << QString("");
    QTest::newRow("driver 11") << 3u << 11u << QString("");
    QTest::newRow("font 4") << 4u << 4u << QString("");
    QTest::newRow("installable driver") << 3u << 8u << QString("InstallableDriver");
  }

  void fileFunctionFromTheFile() {
    QFETCH(quint32, type);
    QFETCH(quint32, subtype);
    QFETCH(QString, text);
    CraftedBlock crafted;
    crafted.fixed = testing::FixedInfo(type, subtype);
    const TFileVersionInfo info = Read(WriteFile(dir_, "function", ElfWithBlock(Build(crafted))));
    QCOMPARE(QString::fromStdString(info.FileFunction), text);
    QCOMPARE(Q(info.CompanyName), "ACME");
  }

  void missingRootBlockKeepsTheStrings() {
    CraftedBlock crafted;
    crafted.withFixedInfo = false;
    crafted.fixed = testing::FixedInfo(1, 0, 0x3F, 0x3F);
    const TFileVersionInfo info = Read(WriteFile(dir_, "no root", ElfWithBlock(Build(crafted))));
    QCOMPARE(Q(info.CompanyName), "ACME");
    QCOMPARE(Q(info.FileVersion), "2.3.4.5");
    QCOMPARE(Q(info.FileFunction), "");
    QVERIFY(!info.DebugBuild && !info.PreRelease && !info.SpecialBuild && !info.PrivateBuild &&
            !info.Patched && !info.InfoInferred);
  }

  void missingTranslationLeavesTheStringsEmpty() {
    CraftedBlock crafted;
    crafted.translations.clear();
    crafted.fixed = testing::FixedInfo(2, 0, 0x3F, 0x01);
    const TFileVersionInfo info =
        Read(WriteFile(dir_, "no translation", ElfWithBlock(Build(crafted))));
    QCOMPARE(Q(info.CompanyName), "");
    QCOMPARE(Q(info.FileVersion), "");
    QCOMPARE(Q(info.FileFunction), "DLL");
    QVERIFY(info.DebugBuild);
  }

  void spoiledBlocksReadNothing_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("value");
    const Bytes block = Build(CraftedBlock{});
    QTest::newRow("root past the end") << 0 << 2 << static_cast<int>(block.size() + 4);
    QTest::newRow("root of length 0") << 0 << 2 << 0;
    QTest::newRow("root value past the end") << 2 << 2 << 0xFFFF;
    QTest::newRow("root key spoiled") << 4 + 15 << 1 << int{'X'};
  }

  void spoiledBlocksReadNothing() {
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(int, value);
    Bytes block = Build(CraftedBlock{});
    for (int i = 0; i < width; ++i) {
      block.at(static_cast<std::size_t>(offset) + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
    const TFileVersionInfo info = Read(WriteFile(dir_, "spoiled", ElfWithBlock(block)));
    QCOMPARE(VersionFields(info), kNothingRead);
    QVERIFY(!info.FileType.empty());
  }

  void textWithoutTerminatorIsEmpty() {
    Bytes block = Build(CraftedBlock{});
    const std::string acme = "ACME";
    const auto at = std::search(block.begin(), block.end(), acme.begin(), acme.end());
    QVERIFY(at != block.end());
    *(at + 4) = '!';
    const TFileVersionInfo info = Read(WriteFile(dir_, "unterminated", ElfWithBlock(block)));
    QCOMPARE(Q(info.CompanyName), "");
    QCOMPARE(Q(info.FileVersion), "2.3.4.5");
  }

  // Files that are not executable programs with a version block: only the
  // type name may be filled, and it is for every file that exists.
  void filesWithoutVersionInformation_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("exists");
    const Bytes elf = ElfWithBlock(Build(CraftedBlock{}));
    const Bytes truncated(elf.begin(), elf.begin() + static_cast<std::ptrdiff_t>(elf.size() / 2));
    Bytes garbage = {0x7F, 'E', 'L', 'F'};
    for (int i = 0; i < 4000; ++i) garbage.push_back(static_cast<std::uint8_t>(i * 7919 >> 3));
    const std::string script = "#!/bin/sh\nexit 0\n";
    const std::string text = "just a text\n";
    QTest::newRow("not executable") << WriteFile(dir_, "plain.elf", elf, kNotExecutable) << true;
    QTest::newRow("executable text")
        << WriteFile(dir_, "text", Bytes(text.begin(), text.end())) << true;
    QTest::newRow("script") << WriteFile(dir_, "script.sh", Bytes(script.begin(), script.end()))
                            << true;
    QTest::newRow("no version section")
        << WriteFile(dir_, "bare", testing::MakeElf({{".text", Bytes(64, 0xC3)}}).bytes) << true;
    QTest::newRow("truncated") << WriteFile(dir_, "truncated", truncated) << true;
    QTest::newRow("garbage") << WriteFile(dir_, "garbage", garbage) << true;
    QTest::newRow("empty") << WriteFile(dir_, "empty", {}) << true;
    QTest::newRow("directory") << dir_.path() << true;
    QTest::newRow("missing") << dir_.filePath("missing") << false;
    QTest::newRow("empty name") << QString() << false;
  }

  void filesWithoutVersionInformation() {
    QFETCH(QString, fileName);
    QFETCH(bool, exists);
    TFileVersionInfo info;
    info.CompanyName = "stale";
    info.FileType = "stale";
    info.Patched = true;
    ReadVersionInfo(fileName, info);
    QCOMPARE(VersionFields(info), kNothingRead);
    QCOMPARE(!info.FileType.empty(), exists);
    QVERIFY(Q(info.FileType).size() <= 80);
    QVERIFY(info.FileType != "stale");
  }

  void fileTypeIsTheMimeDescription() {
    const std::string text = "#!/bin/sh\nexit 0\n";
    const QString script = WriteFile(dir_, "typed.sh", Bytes(text.begin(), text.end()));
    const TFileVersionInfo info = Read(script);
    const QString comment = QMimeDatabase().mimeTypeForFile(script).comment();
    QVERIFY(!comment.isEmpty());
    QCOMPARE(QString::fromLocal8Bit(info.FileType), comment.left(80));
  }

  void probeExecutableEndToEnd() {
    QTableWidget grid(3, 1);
    grid.setItem(0, 0, new QTableWidgetItem("old"));
    FillVersionGrid(grid, QStringLiteral(HELIDISK_VERSION_PROBE));
    CheckProgramGrid(grid);
  }

  void runningExecutableEndToEnd() {
    QTableWidget grid;
    FillVersionGrid(grid);
    CheckProgramGrid(grid);
  }

  void gridOfAMissingFile() {
    QTableWidget grid(20, 3);
    FillVersionGrid(grid, dir_.filePath("missing"));
    QCOMPARE(grid.rowCount(), 17);
    QCOMPARE(grid.columnCount(), 2);
    for (int row = 0; row < 17; ++row) {
      QCOMPARE(Cell(grid, row, 0), QString::fromLatin1(kLabels[static_cast<std::size_t>(row)]));
      QCOMPARE(Cell(grid, row, 1), row >= 13 ? QString("No") : QString());
    }
  }

 private:
  static void CheckProgramGrid(const QTableWidget& grid) {
    QCOMPARE(grid.rowCount(), 17);
    QCOMPARE(grid.columnCount(), 2);
    for (int row = 0; row < 17; ++row) {
      const QString label = Cell(grid, row, 0);
      QCOMPARE(label.size(), qsizetype{16});
      QCOMPARE(label, QString::fromLatin1(kLabels[static_cast<std::size_t>(row)]));
      QVERIFY(!(grid.item(row, 1)->flags() & Qt::ItemIsEditable));
    }
    const QString version = QStringLiteral(HELIDISK_PROJECT_VERSION);
    const QString expected[17] = {Cell(grid, 0, 1),
                                  "The helidisk developers",
                                  "",
                                  version,
                                  "",
                                  "Copyright (C) 2026 The helidisk developers",
                                  "",
                                  "helidisk",
                                  "",
                                  version,
                                  "",
                                  "",
                                  "Application",
                                  "No",
                                  "No",
                                  "No",
                                  "No"};
    QVERIFY(!expected[0].isEmpty());
    for (int row = 0; row < 17; ++row) {
      QCOMPARE(Cell(grid, row, 1), expected[row]);
    }
  }

  QTemporaryDir dir_;
};

}  // namespace helidisk

QTEST_MAIN(helidisk::VersionInfoTest)
#include "versioninfo_test.moc"
