// The about box "关于": the program's logo, title and version, and links to the maker's home page and
// support mail. Created once at start-up and shown modally from the main window's help menu; 确定,
// Enter and Esc close it.
#pragma once

#include "platform/ui/core/form.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinStdLabel;
class TbsSkinLinkLabel;
class TbsSkinButton;
class TImage;

// The maker's addresses, shared by the help menu and the about box.
inline constexpr const char* ProductHomePage = "https://www.nerivo.example/";
inline constexpr const char* ProductQuestionPage = "https://www.nerivo.example/faq/";
inline constexpr const char* ProductSupportMail = "support@nerivo.example";
inline constexpr const char* ProductVersionText = "Ver:1.00.102";

class TForm2 : public TForm {
 public:
  // ASkinData: the main window's skin (may be null: the controls' own look). ASkinFile: the skin
  // file whose folder holds the product's pictures; the logo comes from there when present.
  TForm2(TComponent* AOwner, TbsSkinData* ASkinData, const String& ASkinFile);
  ~TForm2() override;
  String ClassName() const override { return "TForm2"; }

  // 确定: closes the box.
  void bsSkinButton1Click(TObject* Sender);

  TbsSkinForm* bsSkinForm1 = nullptr;
  TImage* Image1 = nullptr;
  TbsSkinStdLabel* bsSkinStdLabel3 = nullptr;  // the program title
  TbsSkinStdLabel* bsSkinStdLabel4 = nullptr;  // the version
  TbsSkinStdLabel* bsSkinStdLabel1 = nullptr;  // "了解更多请访问："
  TbsSkinLinkLabel* bsSkinLinkLabel1 = nullptr;
  TbsSkinStdLabel* bsSkinStdLabel2 = nullptr;  // "联系邮箱："
  TbsSkinLinkLabel* bsSkinLinkLabel2 = nullptr;
  TbsSkinButton* bsSkinButton1 = nullptr;  // "确定"

 private:
  void createControls();
  void setStoredValues(TbsSkinData* ASkinData);
  void layOut();
  void loadLogo(const String& ASkinFile);
  void bindHandlers();
};

// The program's about box; null until the program made it.
extern TForm2* Form2;
