// The version information of an executable file, as the About panel shows
// it: read from the file's version block and the system's MIME database.
#pragma once

#include <QString>
#include <array>
#include <string>
#include <string_view>

#include "versionblock.h"

class QTableWidget;

namespace helidisk {

// Texts are 8-bit strings in the local encoding; all start empty and all
// flags false.
struct TFileVersionInfo {
  std::string FileType;
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyRight;
  std::string LegalTradeMarks;
  std::string OriginalFileName;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string SpecialBuildStr;
  std::string PrivateBuildStr;
  std::string FileFunction;
  bool DebugBuild = false;
  bool PreRelease = false;
  bool SpecialBuild = false;
  bool PrivateBuild = false;
  bool Patched = false;
  bool InfoInferred = false;
};

// Indexed by a Boolean.
inline constexpr std::array<std::string_view, 2> BoolText = {"No", "Yes"};

// What the file is for, from dwFileType and dwFileSubtype; empty for values
// the table does not know.
std::string FileFunctionText(const VsFixedFileInfo& info);

// Fills every field it can read from the named file; the rest stay empty or
// false.  Reports nothing.
void ReadVersionInfo(const QString& fileName, TFileVersionInfo& info);

// Writes the 17 label and value rows of the running program's executable.
void FillVersionGrid(QTableWidget& grid);
// The same for any file.
void FillVersionGrid(QTableWidget& grid, const QString& fileName);

}  // namespace helidisk
