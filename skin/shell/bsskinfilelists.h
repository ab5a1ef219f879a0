// The folder list and the file list: skinned list boxes over the shell namespace. The folder list shows
// the chain of folders down to the current one, indented, followed by its subfolders; the file list
// shows the entries of one folder that match a mask. A folder list moves its linked file list and
// shows its path, shortened, in a linked label.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/tset.h"
#include "platform/ui/stdctrls/edit.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/shell/bsskinfilepaths.h"

class TbsSkinFileListBox;
class TbsSkinFilterComboBox;

class TbsSkinDirectoryListBox : public TbsSkinListBox {
 public:
  explicit TbsSkinDirectoryListBox(TComponent* AOwner);
  ~TbsSkinDirectoryListBox() override;
  String ClassName() const override { return "TbsSkinDirectoryListBox"; }

  const String& Directory() const { return FDirectory; }
  virtual void SetDirectory(const String& Value);
  TbsSkinFileListBox* FileList() const { return FFileList; }
  void SetFileList(TbsSkinFileListBox* Value);
  TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
  void SetDirLabel(TbsSkinStdLabel* Value);
  bool PreserveCase() const { return FPreserveCase; }
  bool CaseSensitive() const { return FCaseSensitive; }

  String DisplayCase(const String& S) const;
  Integer FileCompareText(const String& A, const String& B) const;
  // The folder an item stands for; empty outside the items.
  String GetItemPath(Integer Index);
  void OpenCurrent();
  // Refills the folders and tells the links (Update of the control is its repaint).
  void UpdateFolders();
  // The depth of the current folder: its item's index.
  Integer CurrentIndex() const { return FCurrent; }

  Integer GetItemWidth(Integer Index, TCanvas* Cnvs) override;
  void ListBoxDblClick() override;
  void ListBoxKeyPress(char32_t& Key) override;

  TNotifyEvent OnChange;

  std::unique_ptr<TBitmap> ClosedBMP, OpenedBMP, CurrentBMP;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void Loaded() override;
  virtual void FolderChanged();
  virtual void LoadFolderBitmaps();
  virtual void FillFolders();

 private:
  friend class TbsSkinFileListBox;
  void EnterFolder(const String& Folder);
  void UpdateDirLabel();
  void DrawFolderItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                      TOwnerDrawState State);
  Integer indentOf(Integer Index) const;

  TbsSkinFileListBox* FFileList = nullptr;
  TbsSkinStdLabel* FDirLabel = nullptr;
  bool FPreserveCase = true;
  bool FCaseSensitive = true;
  String FDirectory;
  Integer FCurrent = 0;
  // The path items' full paths and the subfolders' names as the file system has them, by item.
  std::vector<String> FItemBytes;
};

enum TbsFileAttr {
  bsftReadOnly,
  bsftHidden,
  bsftSystem,
  bsftVolumeID,
  bsftDirectory,
  bsftArchive,
  bsftNormal
};
using TbsFileType = TSet<TbsFileAttr>;

class TbsSkinFileListBox : public TbsSkinListBox {
 public:
  explicit TbsSkinFileListBox(TComponent* AOwner);
  ~TbsSkinFileListBox() override;
  String ClassName() const override { return "TbsSkinFileListBox"; }

  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& Value) { ApplyFilePath(Value); }
  const String& Mask() const { return FMask; }
  void SetMask(const String& Value);
  TbsFileType FileType() const { return FFileType; }
  void SetFileType(TbsFileType Value);
  TEdit* FileEdit() const { return FFileEdit; }
  void SetFileEdit(TEdit* Value);
  String FileName() { return GetFileName(); }
  void SetFileName(const String& Value) { ApplyFilePath(Value); }
  TbsSkinDirectoryListBox* DirList() const { return FDirList; }
  TbsSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }

  // Moves to NewDir (resolved from the listed folder) and lists it.
  void ChangeDirectory(const String& NewDir);
  String GetSelectedName();
  void SelectFile(const String& Name);
  // Lists the folder again.
  void UpdateFiles() { FillFiles(); }
  virtual String GetFileName();
  virtual void ApplyFilePath(const String& EditText);
  void ListBoxClick() override;

  TNotifyEvent OnChange;

 protected:
  friend class TbsSkinDirectoryListBox;
  friend class TbsSkinFilterComboBox;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void Loaded() override;
  virtual void FileChanged();
  virtual void FillFiles();

 private:
  String FDirectory;
  String FMask = "*.*";
  TbsFileType FFileType{bsftNormal};
  TEdit* FFileEdit = nullptr;
  TbsSkinDirectoryListBox* FDirList = nullptr;
  TbsSkinFilterComboBox* FFilterCombo = nullptr;
  Integer FLastSel = -1;
  // Each item's name as the file system has it; items carry a pointer to theirs.
  std::vector<std::unique_ptr<TObject>> FNames;
};
