// The address box, the favourites menu with its dialog, and the settings file the window reads
// at its start and writes as it goes.
#include <filesystem>

#include "platform/Exceptions.h"
#include "platform/IniFiles.h"
#include "tests/browser/BrowserFixture.h"

namespace {

using Calls = std::vector<std::string>;

TEST_F(BrowserTest, EnterAndTheKeypadsEnterFromTheKeyboardOpenTheTypedAddress) {
  // The keyboard sends its keys to the box itself, to which its edit part hands the focus.
  UserType(form->RCbbURL, "one.example");
  EXPECT_TRUE(form->RCbbURL->Focused());
  UserKey(form->RCbbURL, VK_RETURN);
  ASSERT_EQ(form->PCT->PageCount(), 2);
  EXPECT_EQ(Page(Active()).url, "one.example");

  form->RCbbURL->SetText("");
  UserType(form->RCbbURL, "two.example");
  UserKeypadEnter(form->RCbbURL);
  ASSERT_EQ(form->PCT->PageCount(), 3);
  EXPECT_EQ(Page(Active()).url, "two.example");
  EXPECT_EQ(form->RCbbURL->Items().Count(), 13);  // each stored once
}

TEST_F(BrowserTest, TypedAddressesAreCompletedOpenedAndStoredOnceUnderTheNextFreeKey) {
  Enter("zelkar");
  EXPECT_EQ(form->RCbbURL->GetText(), "http://www.zelkar.com");
  EXPECT_EQ(Page(Active()).calls, (Calls{"Navigate http://www.zelkar.com"}));
  EXPECT_EQ(ConfigText(), "[URLlst]\r\nU12=http://www.zelkar.com\r\n");  // 11 built-in items
  EXPECT_EQ(form->RCbbURL->Items().Count(), 12);

  Enter("http://www.zelkar.com");  // an item already: opened, not stored
  EXPECT_EQ(Active()->Name(), "REZTab2");
  // Another case is another text (pasted: typing it, the box would complete it to the item).
  form->RCbbURL->SetText("HTTP://WWW.ZELKAR.COM");
  UserKey(form->RCbbURL, VK_RETURN);
  Enter("a.b");  // a dot anywhere: as typed
  EXPECT_EQ(Page(Active()).url, "a.b");
  EXPECT_EQ(ConfigText(),
            "[URLlst]\r\nU12=http://www.zelkar.com\r\nU13=HTTP://WWW.ZELKAR.COM\r\nU14=a.b\r\n");

  // An empty box opens an empty tab; other keys do nothing.
  Enter("");
  EXPECT_EQ(Active()->Name(), "REZTab5");
  UserKey(form->RCbbURL, VK_TAB);
  EXPECT_EQ(form->PCT->PageCount(), 6);

  // The next start offers them again, in the sorted list.
  Build();
  EXPECT_EQ(form->RCbbURL->Items().Count(), 15);
  EXPECT_GE(form->RCbbURL->Items().IndexOf("a.b"), 0);
}

TEST_F(BrowserTest, FavouritesAreAddedThroughTheDialogAndOpenFromTheMenu) {
  // Nothing in the address box: no dialog.
  UserChoose(form->N1);
  form->NewTab("http://fav/");
  Finish(Active(), "页=一\r\n");
  ASSERT_EQ(form->RCbbURL->GetText(), "http://fav/");
  const int before = form->pm->Items()->Count();
  dialogs().AnswerModal([&](TForm& dialog) {
    EXPECT_EQ(&dialog, addForm);
    EXPECT_EQ(addForm->REDTURL->GetText(), "http://fav/");
    EXPECT_GBK_EQ(addForm->REDTName->GetText(), Active()->Caption());
    UserClick(addForm->WkBtnOK);
  });
  UserChoose(form->N1);
  EXPECT_EQ(addForm->REDTName->GetText(), "");  // emptied however it closed
  EXPECT_EQ(addForm->REDTURL->GetText(), "");
  ASSERT_EQ(form->pm->Items()->Count(), before + 1);
  TMenuItem* item = form->pm->Items()->Items(before);
  EXPECT_GBK_EQ(item->Caption(), "页＝一");  // the key as stored
  EXPECT_GBK_EQ(ConfigText(), "[URL]\r\n页＝一=http://fav/\r\n");

  UserChoose(item);
  EXPECT_EQ(Page(Active()).url, "http://fav/");
  EXPECT_EQ(Active()->Name(), "REZTab2");

  // A name given twice keeps the last address and shows twice.
  for (const char* address : {"http://one/", "http://two/"}) {
    form->RCbbURL->SetText(address);
    dialogs().AnswerModal([&](TForm&) {
      addForm->REDTName->SetText("同名");
      UserClick(addForm->WkBtnOK);
    });
    UserChoose(form->N1);
  }
  ASSERT_EQ(form->pm->Items()->Count(), before + 3);
  UserChoose(form->pm->Items()->Items(before + 1));
  EXPECT_EQ(Page(Active()).url, "http://two/");

  // A name is shown as it is: its '&' marks no accelerator.
  form->RCbbURL->SetText("http://amp/");
  dialogs().AnswerModal([&](TForm&) {
    addForm->REDTName->SetText("A&B 😀");
    UserClick(addForm->WkBtnOK);
  });
  UserChoose(form->N1);
  ASSERT_EQ(form->pm->Items()->Count(), before + 4);
  EXPECT_EQ(form->pm->Items()->Items(before + 3)->Caption(), "A&&B 😀");
  EXPECT_NE(ConfigText().find("A&B 😀=http://amp/\r\n"), std::string::npos)
      << Readable(ConfigText());

  // Cancel stores nothing.
  dialogs().AnswerModal([&](TForm&) {
    addForm->REDTName->SetText("x");
    UserClick(addForm->WkBtnC);
  });
  UserChoose(form->N1);
  EXPECT_EQ(form->pm->Items()->Count(), before + 4);
  EXPECT_EQ(addForm->REDTName->GetText(), "");
}

TEST_F(BrowserTest, TheFavouritesDialogsBoxHoldsItsLabelsEditsAndButtonsUnclipped) {
  form->NewTab("http://fav/");
  Finish(Active(), "收藏的页");
  bool shown = false;
  dialogs().AnswerModal([&](TForm&) {
    shown = true;
    EXPECT_EQ(addForm->ClientWidth(), 347);
    EXPECT_EQ(addForm->ClientHeight(), 140);
    TWkGroupBox* box = addForm->GroupBox1;
    EXPECT_GBK_EQ(box->Caption(), "添加");
    EXPECT_GE(box->Left(), 0);
    EXPECT_GE(box->Top(), 0);
    EXPECT_LE(box->Left() + box->Width(), addForm->ClientWidth());
    EXPECT_LE(box->Top() + box->Height(), addForm->ClientHeight());
    // Below the box's caption, inside its frame, and apart from each other.
    TRect inside = box->GetClientRect();
    box->AdjustClientRect(inside);
    std::vector<TRect> taken;
    for (TControl* c :
         {static_cast<TControl*>(addForm->Label1), static_cast<TControl*>(addForm->Label2),
          static_cast<TControl*>(addForm->REDTName), static_cast<TControl*>(addForm->REDTURL),
          static_cast<TControl*>(addForm->WkBtnOK), static_cast<TControl*>(addForm->WkBtnC)}) {
      EXPECT_EQ(c->Parent(), box) << c->Name();
      const TRect r = c->BoundsRect();
      EXPECT_GE(r.Left, inside.Left) << c->Name();
      EXPECT_GE(r.Top, inside.Top) << c->Name();
      EXPECT_LE(r.Right, inside.Right) << c->Name();
      EXPECT_LE(r.Bottom, inside.Bottom) << c->Name();
      for (const TRect& other : taken) {
        const bool apart = r.Right <= other.Left || other.Right <= r.Left ||
                           r.Bottom <= other.Top || other.Bottom <= r.Top;
        EXPECT_TRUE(apart) << c->Name();
      }
      taken.push_back(r);
    }
    // The labels' texts fit them.
    for (TLabel* label : {addForm->Label1, addForm->Label2}) {
      TBitmap measure;
      measure.Canvas().SetFont(*label->Font());
      EXPECT_LE(measure.Canvas().TextWidth(label->Caption()), label->Width()) << label->Name();
    }
    EXPECT_FALSE(SaveScreenshot(addForm, "browser_add_favourite").empty());
    // Enter in an edit still reaches the default button inside the box.
    UserClick(addForm->REDTName);
    UserKey(addForm->REDTName, VK_RETURN);
  });
  UserChoose(form->N1);
  EXPECT_TRUE(shown);
  EXPECT_GBK_EQ(ConfigText(), "[URL]\r\n收藏的页=http://fav/\r\n");
}

TEST_F(BrowserTest, AnOldSettingsFileReadsAndTheOpenTabsAreWrittenAtTheEnd) {
  WriteFileAtomically(ConfigFile(),
                      "[urllst]\r\nU12=http://typed/\r\nu13=http://b/\r\nU12=http://dup/\r\n"
                      "[Url]\r\n新浪=http://www.sina.com.cn\r\nZ=http://z/\r\n"
                      "[AUTOURL]\r\n旧=http://old/\r\n");
  Build();
  EXPECT_EQ(form->RCbbURL->Items().Count(), 13);
  const int fixed = 3;  // 添加到收藏夹, 管理收藏夹, the line
  ASSERT_EQ(form->pm->Items()->Count(), fixed + 2);
  EXPECT_GBK_EQ(form->pm->Items()->Items(fixed)->Caption(), "新浪");
  UserChoose(form->pm->Items()->Items(fixed));
  EXPECT_EQ(Page(Active()).url, "http://www.sina.com.cn");
  Finish(Active(), "新浪首页");
  form->NewTab("http://second/");
  Free();
  EXPECT_NE(
      ConfigText().find("[AUTOURL]\r\n新浪首页=http://www.sina.com.cn\r\n=http://second/\r\n"),
      std::string::npos)
      << Readable(ConfigText());

  // No tab open: the section is there, empty.
  Build();
  Free();
  EXPECT_NE(ConfigText().find("[AUTOURL]\r\n"), std::string::npos);
  EXPECT_EQ(ConfigText().find("新浪首页"), std::string::npos);
}

TEST_F(BrowserTest, EveryFavouriteOfAHandEditedFileOpensTheAddressStoredUnderIt) {
  WriteFileAtomically(ConfigFile(),
                      "[URL]\r\n\\==http://equals/\r\n\" \"=http://blank/\r\n"
                      "A&B=http://amp/\r\n");
  Build();
  const int fixed = 3;
  ASSERT_EQ(form->pm->Items()->Count(), fixed + 3);
  EXPECT_EQ(form->pm->Items()->Items(fixed)->Caption(), "=");
  const std::vector<std::string> expected = {"http://equals/", "http://blank/", "http://amp/"};
  for (int i = 0; i < 3; ++i) {
    UserChoose(form->pm->Items()->Items(fixed + i));
    EXPECT_EQ(Page(Active()).url, expected[static_cast<size_t>(i)]) << i;
  }
  EXPECT_EQ(form->PCT->PageCount(), 4);
}

TEST_F(BrowserTest, AnUnwritableSettingsFileIsToldOnceAndNeverStopsTheWindow) {
  std::filesystem::create_directory(ConfigFile());
  dialogs().AnswerMessage();
  Enter("one.example");
  Enter("two.example");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(dialogs().Messages()[0].find("设置文件无法写入"), std::string::npos)
      << U8(dialogs().Messages()[0]);
  EXPECT_EQ(form->PCT->PageCount(), 3);  // both addresses still opened
  EXPECT_EQ(form->RCbbURL->Items().Count(), 13);
  Free();  // the tabs cannot be written either; the window still goes
  EXPECT_TRUE(std::filesystem::is_directory(ConfigFile()));
}

// A settings file too big to read is told of once, as such, when the window reads it; it is
// left as it is, and the writes that follow say nothing more.
TEST_F(BrowserTest, ASettingsFileTooBigToReadIsToldOnceAndLeftAsItIs) {
  const auto size = static_cast<std::uintmax_t>(TIniFile::kMaxIniFileBytes + 1);
  WriteFileAtomically(ConfigFile(), "[URL]\r\n");
  std::filesystem::resize_file(ConfigFile(), size);
  dialogs().AnswerMessage();
  Build();
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  const std::string told = dialogs().Messages()[0];
  EXPECT_NE(told.find("UloConfig.ini」太大（超过 64 MB），没有读取"), std::string::npos)
      << U8(told);
  EXPECT_NE(told.find("保持原样"), std::string::npos) << U8(told);
  Enter("one.example");
  Enter("two.example");
  form->NewTab("http://fav/");
  dialogs().AnswerModal([&](TForm&) {
    addForm->REDTName->SetText("收藏");
    UserClick(addForm->WkBtnOK);
  });
  UserChoose(form->N1);
  EXPECT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_EQ(form->RCbbURL->Items().Count(), 13);  // both offered for this run
  Free();
  EXPECT_EQ(std::filesystem::file_size(ConfigFile()), size);
  EXPECT_EQ(ReadWholeFile(ConfigFile()).substr(0, 7), "[URL]\r\n");
}

}  // namespace
