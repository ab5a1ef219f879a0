#include "app/main/about/aboutbox.h"

#include "app/main/mainform/makecontrol.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/picture.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinlinklabel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/forms/engine/bsskinform.h"

TForm2* Form2 = nullptr;

namespace {

constexpr Integer ClientW = 368;
constexpr Integer ClientH = 238;
constexpr Integer Margin = 8;
constexpr Integer LogoW = 87;
constexpr Integer LogoH = 83;
constexpr Integer ButtonW = 80;
constexpr Integer ButtonH = 28;
constexpr Integer LineH = 20;
// Text beside the logo; the links take the width right of the logo's margin.
constexpr Integer TextLeft = 2 * Margin + LogoW + Margin;
constexpr Integer TextW = ClientW - TextLeft - 2 * Margin;

}  // namespace

TForm2::TForm2(TComponent* AOwner, TbsSkinData* ASkinData, const String& ASkinFile) : TForm(AOwner) {
  createControls();
  BeginLoading();
  setStoredValues(ASkinData);
  layOut();
  EndLoading();
  loadLogo(ASkinFile);
  bindHandlers();
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

void TForm2::createControls() {
  SetName("Form2");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  Image1 = Make<TImage>(this, this, "Image1");
  bsSkinStdLabel3 = Make<TbsSkinStdLabel>(this, this, "bsSkinStdLabel3");
  bsSkinStdLabel4 = Make<TbsSkinStdLabel>(this, this, "bsSkinStdLabel4");
  bsSkinStdLabel1 = Make<TbsSkinStdLabel>(this, this, "bsSkinStdLabel1");
  bsSkinLinkLabel1 = Make<TbsSkinLinkLabel>(this, this, "bsSkinLinkLabel1");
  bsSkinStdLabel2 = Make<TbsSkinStdLabel>(this, this, "bsSkinStdLabel2");
  bsSkinLinkLabel2 = Make<TbsSkinLinkLabel>(this, this, "bsSkinLinkLabel2");
  bsSkinButton1 = Make<TbsSkinButton>(this, this, "bsSkinButton1");
}

void TForm2::setStoredValues(TbsSkinData* ASkinData) {
  SetDialogFrame(this, bsSkinForm1, ASkinData, "关于", ClientW, ClientH);

  struct TText {
    TbsSkinStdLabel* Label;
    const char* Caption;
  };
  for (const TText& T :
       {TText{bsSkinStdLabel3, "NerivoAVI/MPEG格式转换器"}, TText{bsSkinStdLabel4, ProductVersionText},
        TText{bsSkinStdLabel1, "了解更多请访问："}, TText{bsSkinStdLabel2, "联系邮箱："}}) {
    T.Label->SetCaption(T.Caption);
    T.Label->SetSkinData(ASkinData);
  }
  struct TLink {
    TbsSkinLinkLabel* Label;
    String Caption, URL;
  };
  for (const TLink& L :
       {TLink{bsSkinLinkLabel1, ProductHomePage, ProductHomePage},
        TLink{bsSkinLinkLabel2, ProductSupportMail, String("mailto:") + ProductSupportMail}}) {
    L.Label->SetCaption(L.Caption);
    L.Label->SetURL(L.URL);
    L.Label->SetGlowEffect(true);
    L.Label->SetGlowSize(6);
    L.Label->SetUseUnderLine(true);
    L.Label->SetDefaultActiveFontColor(clBlue);
    L.Label->SetAlignment(taCenter);
    L.Label->SetSkinData(ASkinData);
  }

  bsSkinButton1->SetCaption("确定");
  // Enter and Esc both close the box, as its one button does.
  bsSkinButton1->SetDefault(true);
  bsSkinButton1->SetCancel(true);
  bsSkinButton1->SetCanFocused(true);
  bsSkinButton1->SetSkinData(ASkinData);
}

void TForm2::layOut() {
  Image1->SetBounds(2 * Margin, 2 * Margin, LogoW, LogoH);
  Image1->SetCenter(true);
  Image1->SetTransparent(true);
  Integer Top = 2 * Margin + 4;
  for (TbsSkinStdLabel* L : {bsSkinStdLabel3, bsSkinStdLabel4}) {
    L->SetBounds(TextLeft, Top, TextW, LineH);
    Top += LineH + 4;
  }
  // The links run under the logo, each below its caption.
  Top = 2 * Margin + LogoH + Margin;
  for (auto [Caption, Link] :
       {std::pair{bsSkinStdLabel1, bsSkinLinkLabel1}, std::pair{bsSkinStdLabel2, bsSkinLinkLabel2}}) {
    Caption->SetBounds(2 * Margin, Top, ClientW - 4 * Margin, LineH);
    Link->SetAutoSize(false);
    Link->SetBounds(2 * Margin, Top + LineH, ClientW - 4 * Margin, LineH);
    Top += 2 * LineH + 2;
  }
  bsSkinButton1->SetBounds(ClientW - 2 * Margin - ButtonW, ClientH - Margin - ButtonH, ButtonW, ButtonH);
}

void TForm2::loadLogo(const String& ASkinFile) {
  // The application mark beside the skin; without it the box shows its texts only.
  const String Logo = ExtractFilePath(ASkinFile) + "icons/nerivo-64.png";
  try {
    if (FileExists(Logo)) Image1->Picture()->LoadFromFile(Logo);
  } catch (const Exception&) {
  }
}

void TForm2::bindHandlers() {
  bsSkinButton1->OnClick = [this](TObject* Sender) { bsSkinButton1Click(Sender); };
}

void TForm2::bsSkinButton1Click(TObject*) {
  Close();
}
