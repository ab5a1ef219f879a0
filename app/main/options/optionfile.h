// "option.ini" beside the program: the settings file of the main window and the options dialog.
// Every write goes to the file at once (a fresh TIniFile per call, through a partial file beside it,
// so a failed or killed write leaves the file whole); reads share one parsed copy per file, parsed
// again whenever the file changed, so a load step parses it once and two windows never see
// different values. Only a regular file of at most 1 MiB is read (IniFileMaxSize); any other (a
// pipe, a device, an oversized file) gives the defaults, is never written over, and is noted once
// in the engine's log. The first use of a file removes what writes killed half-way left beside it.
#pragma once

#include "platform/rtl/types.h"

// Sections and keys, spelled as they are written.
inline constexpr const char* OptionsSection = "Options";
inline constexpr const char* ThreadCountKey = "Thread_Count";
inline constexpr const char* AfterDoneKey = "After_Done";
inline constexpr const char* ShowPreviewKey = "Show_Preview";
inline constexpr const char* ThreadPriorityKey = "Thread_Priority";
inline constexpr const char* OverwriteFileKey = "Overwrite_File";
inline constexpr const char* OutPathSection = "OutPath";
inline constexpr const char* OutPathKey = "OutPath";
inline constexpr const char* SkinSection = "Skin";
inline constexpr const char* SetSkinKey = "SetSkin";
inline constexpr const char* SnapShotSection = "SnapShot";
inline constexpr const char* SnapShotDirKey = "Dir";
inline constexpr const char* SnapShotPictureKey = "Picture";

// Defaults written where a key is missing.
inline constexpr const char* DefaultThreadCount = "0";
inline constexpr const char* DefaultAfterDone = "0";
inline constexpr const char* DefaultShowPreview = "0";
inline constexpr const char* DefaultThreadPriority = "3";
inline constexpr const char* DefaultOverwriteFile = "1";
inline constexpr const char* DefaultSetSkin = "0";
inline constexpr const char* DefaultSnapShotPicture = "BMP";
// $HOME/Nerivo视频软件/输出 and $HOME/Nerivo视频软件/快照.
String DefaultOutputFolder();
String DefaultSnapShotFolder();

// What a reader asks for; a stored value that is empty or equal to it counts as missing.
inline constexpr const char* MissingValue = "Error";

class TOptionFile {
 public:
  // The program's own file: ProgramDir() + "option.ini".
  TOptionFile();
  explicit TOptionFile(const String& AFileName) : FFileName(AFileName) {}

  const String& FileName() const { return FFileName; }
  bool Exists() const;

  // The stored value, or "Error" when the key is absent or the file cannot be read. A value this run
  // could not write wins over the file's older one.
  String Read(const String& Section, const String& Key) const;
  // The stored value in Value; false (Value "") when it is missing: absent, empty or "Error".
  bool ReadSetting(const String& Section, const String& Key, String& Value) const;
  // The stored value, or Default written and returned when it is missing.
  String ReadOrRepair(const String& Section, const String& Key, const String& Default);

  // Writes at once (nothing when the file holds the value already). When the file cannot be written
  // (a read-only file or folder, a file that cannot be read back and would lose its other keys) the
  // value is kept for the rest of the run, so the setting still works, and a note naming the file
  // and the reason goes to the engine's log, once until a write succeeds again (one note in all
  // when the file could not be read either). Never raises.
  void Write(const String& Section, const String& Key, const String& Value);

  // A folder named in the settings: an absolute path as it is, a relative one taken from the
  // settings file's folder (the program's), never from the working folder.
  String ResolvePath(const String& Path) const;

  // Forgets the values kept from failed writes, the notes given and the parsed copies (tests start
  // each case clean).
  static void ForgetUnwrittenValues();

 private:
  String FFileName;
};

// ---- the main window's output folder ----

// The output folder at start: the stored "OutPath" (a relative one beside the program), created with
// its parents when it does not exist (and taken even when it cannot be); when the file or the key is
// missing, or any step fails, the default folder, created and written. The caller shows it in its folder box
// and keeps it as its output folder.
String LoadOutputFolder(TOptionFile& File);
// Writes FileOutPutPath to "OutPath" when it names an existing folder; otherwise nothing.
void SaveOutputFolder(TOptionFile& File, const String& FileOutPutPath);
// The folder that the select-folder dialog holds after the "浏览..." choice (its last confirmed folder,
// whatever the dialog's result): when it exists it becomes FileOutPutPath and is saved, and the result
// is true (the caller then shows it in its folder box and moves the focus to the job list); a folder
// that does not exist, or none, changes nothing.
bool TakeChosenOutputFolder(TOptionFile& File, const String& ChosenFolder, String& FileOutPutPath);

// ---- the main window's skin choice ----

// The skin index to apply at start. Without the file: "0" written and CurrentIndex kept (the window's
// own choice). A missing value: "0" written and 0. A value that is not a whole number would stop the
// start-up: it is repaired the same way.
Integer LoadSkinChoice(TOptionFile& File, Integer CurrentIndex);
