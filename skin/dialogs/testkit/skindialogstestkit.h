// Test support for the dialogs: a skin string table made of given lines; the user's home folder for
// the length of a test; the message box on top and keys pressed inside a dialog's loop; for the skin
// chooser, stored
// skins made at test time from the generated skin, each told apart by its name and a one-colour
// frame, and stored skins damaged in the ways a file goes bad.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <memory>

#include "platform/rtl/lists.h"
#include "platform/rtl/testkit/rtl_test_util.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/win/testkit/testkit.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinlayout.h"
#include "skin/dialogs/bsskinmessage.h"
#include "tools/skingen/skingen.h"

namespace dialogstest {

// Gives ASkin a string table whose lines are Lines only; Holder keeps it alive.
inline void UseStringTable(TbsSkinData* ASkin, std::unique_ptr<TbsResourceStrData>& Holder,
                           std::initializer_list<const char*> Lines) {
  Holder = std::make_unique<TbsResourceStrData>(nullptr);
  TStringList L;
  for (const char* S : Lines) L.Add(S);
  Holder->SetResStrings(&L);
  ASkin->SetResourceStrData(Holder.get());
}

// $HOME is Folder while this lives; the old value (or its absence) comes back afterwards.
class THomeFolder {
 public:
  explicit THomeFolder(const String& Folder) {
    const char* Old = std::getenv("HOME");
    FHad = Old != nullptr;
    if (FHad) FOld = Old;
    setenv("HOME", Folder.c_str(), 1);
  }
  ~THomeFolder() {
    if (FHad)
      setenv("HOME", FOld.c_str(), 1);
    else
      unsetenv("HOME");
  }
  THomeFolder(const THomeFolder&) = delete;
  THomeFolder& operator=(const THomeFolder&) = delete;

 private:
  bool FHad = false;
  String FOld;
};

// The message box that is up (the active window), nil when none is.
inline TbsMessageForm* ShowingBox() {
  return dynamic_cast<TbsMessageForm*>(FindControl(GetActiveWindow()));
}

// Presses Key inside a dialog's loop, where scripted input waits for the loop: handled on return.
inline void Press(Word Key, DWORD Character = 0) {
  wintest::KeyPress(Key, Character);
  WinProcessMessages();
}

}  // namespace dialogstest

// A generated skin of its own name whose frame picture is one colour, as a stored skin.
inline void StoreVariantSkin(TbsCompressedStoredSkin* Into, const String& Name, TColor FrameColor) {
  TbsSkinData Variant(nullptr);
  BuildGeneratedSkin(&Variant);
  Variant.SkinName = Name;
  TCanvas* C = Variant.FPicture->Canvas();
  C->Brush()->SetColor(FrameColor);
  C->FillRect(Rect(0, 0, Variant.FPicture->Width(), Variant.FPicture->Height()));
  Into->LoadFromSkinData(&Variant);
}

// The ways a skin goes bad: a block of bytes that do not inflate, a block that inflates to a cut
// payload, and a skin file damaged on disk in the middle of its block, read back as the program reads
// skin files.
enum class TDamage { NotCompressed, CutPayload, DamagedFile };

inline void StoreDamagedSkin(TbsCompressedStoredSkin* Into, TDamage Damage) {
  if (Damage == TDamage::DamagedFile) {
    TTempFolder Dir;
    TbsCompressedStoredSkin Good(nullptr);
    StoreVariantSkin(&Good, "Damaged", clNavy);
    Good.SaveToCompressFile(Dir / "damaged.skn");
    String Bytes = ReadSkinFileBytes(Dir / "damaged.skn");
    for (size_t i = Bytes.size() / 2; i < Bytes.size() / 2 + 16; ++i) Bytes[i] = char(~Bytes[i]);
    WriteSkinFileBytes(Dir / "damaged.skn", Bytes);
    Into->LoadFromCompressFile(Dir / "damaged.skn");
    return;
  }
  String Block;
  if (Damage == TDamage::NotCompressed) {
    Block = "these bytes are no compressed skin";
  } else {
    TbsCompressedStoredSkin Good(nullptr);
    StoreVariantSkin(&Good, "Cut", clOlive);
    TMemoryStream Payload;
    Good.DeCompressToStream(&Payload);
    TStringStream Cut(String(static_cast<const char*>(Payload.Memory()), 200));
    TStringStream Out;
    CompressSkinPayload(&Cut, &Out);
    Block = Out.DataString();
  }
  TStringStream S(Block);
  Into->ReadCompressedStream(&S);
}
