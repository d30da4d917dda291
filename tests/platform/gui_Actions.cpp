// Actions and their clients: buttons, menu items and the command panel.
#include <gtest/gtest-spi.h>

#include <QAbstractButton>
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPixmap>

#include "platform/Files.h"
#include "platform/gui/ActnList.h"
#include "tests/support/GuiTest.h"

namespace {

class CommandForm : public TForm {
 public:
  explicit CommandForm(TComponent* owner) : TForm(owner) {
    SetClientSize(300, 420);
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    Action3 = NewAction(this, ActionList1, "Action3", "复制",
                        [this](TComponent* s) { Run("Action3", s); });
    Action4 = NewAction(this, ActionList1, "Action4", "时间起卦",
                        [this](TComponent* s) { Run("Action4", s); });
    Action16 = NewAction(this, ActionList1, "Action16", "卜筮正宗",
                         [this](TComponent* s) { Run("Action16", s); });
    Action51 = NewAction(this, ActionList1, "Action51", "球赛",
                         [this](TComponent* s) { Run("Action51", s); });
    CategoryButtons1 = new TCategoryButtons(this);
    CategoryButtons1->SetName("CategoryButtons1");
    CategoryButtons1->SetParent(this);
    CategoryButtons1->SetAlign(alClient);
    auto* cast = CategoryButtons1->AddCategory("六爻排卦");
    cast->Add(Action4);
    cast->Add(Action3);
    auto* books = CategoryButtons1->AddCategory("葵花宝典", true);
    books->Add(Action16);
    auto* results = CategoryButtons1->AddCategory("赛果查看");
    results->Add(Action51);
    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetAlign(alBottom);
    Button1->SetAction(Action4);
  }
  void Run(const std::string& name, TComponent* sender) {
    ran.push_back(name);
    senders.push_back(sender);
  }
  TActionList* ActionList1;
  TAction *Action3, *Action4, *Action16, *Action51;
  TCategoryButtons* CategoryButtons1;
  TButton* Button1;
  std::vector<std::string> ran;
  std::vector<TComponent*> senders;
};

class ActionTest : public WindowTest<CommandForm> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form->Show();
  }
};

TEST_F(ActionTest, PanelButtonsShowActionCaptionsAndRunTheirActions) {
  EXPECT_TRUE(UserClickPanelButton(form->CategoryButtons1, "时间起卦"));
  EXPECT_TRUE(UserClickPanelButton(form->CategoryButtons1, "复制"));
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action4", "Action3"}));
  EXPECT_EQ(form->senders[0], form->Action4);  // the action is the sender, as bound
  // An item can show another caption than its action's own.
  TButtonItem* results = form->CategoryButtons1->FindCategory("赛果查看")->Items(0);
  results->SetCaption("及时赛果");
  EXPECT_TRUE(UserClickPanelButton(form->CategoryButtons1, "及时赛果"));
  EXPECT_EQ(form->ran.back(), "Action51");
  EXPECT_EQ(form->Action51->Caption(), "球赛");
  SaveScreenshot(form, "platform_command_panel");
}

TEST_F(ActionTest, AnItemsOwnCaptionOutranksItsActionsWhileTheActionKeepsTheRest) {
  TCategoryButtons* panel = form->CategoryButtons1;
  TButtonItem* results = panel->FindCategory("赛果查看")->Items(0);
  results->SetCaption("及时赛果");
  form->Action51->SetCaption("比分");
  EXPECT_EQ(results->Caption(), "及时赛果");
  EXPECT_EQ(panel->FindItem("及时赛果"), results);
  EXPECT_EQ(panel->FindItem("比分"), nullptr);
  EXPECT_NONFATAL_FAILURE(UserClickPanelButton(panel, "比分"), "no button");

  // Enabled and visible still come from the action.
  form->Action51->SetEnabled(false);
  EXPECT_FALSE(results->Enabled());
  UserClickPanelButton(panel, "及时赛果");
  EXPECT_TRUE(form->ran.empty());
  form->Action51->SetEnabled(true);
  form->Action51->SetVisible(false);
  EXPECT_NONFATAL_FAILURE(UserClickPanelButton(panel, "及时赛果"), "no button");
  form->Action51->SetVisible(true);

  // Without a caption of its own the item follows the action again.
  results->SetCaption("");
  EXPECT_EQ(results->Caption(), "比分");
  EXPECT_TRUE(UserClickPanelButton(panel, "比分"));
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action51"}));
}

TEST_F(ActionTest, CollapsedCategoriesHideTheirButtonsUntilExpanded) {
  TButtonCategory* books = form->CategoryButtons1->FindCategory("葵花宝典");
  ASSERT_NE(books, nullptr);
  EXPECT_TRUE(books->Collapsed());
  EXPECT_NONFATAL_FAILURE(UserClickPanelButton(form->CategoryButtons1, "卜筮正宗"), "no button");
  EXPECT_TRUE(form->ran.empty());
  EXPECT_TRUE(UserClickCategory(form->CategoryButtons1, "葵花宝典"));
  EXPECT_FALSE(books->Collapsed());
  EXPECT_TRUE(UserClickPanelButton(form->CategoryButtons1, "卜筮正宗"));
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action16"}));
  EXPECT_TRUE(UserClickCategory(form->CategoryButtons1, "六爻排卦"));
  EXPECT_NONFATAL_FAILURE(UserClickPanelButton(form->CategoryButtons1, "复制"), "no button");
}

TEST_F(ActionTest, ActionStateReachesEveryClientAndDisabledActionsDoNotRun) {
  form->Action4->SetCaption("时间卦");
  EXPECT_EQ(form->Button1->Caption(), "时间卦");
  EXPECT_EQ(form->CategoryButtons1->FindItem("时间卦"),
            form->CategoryButtons1->Categories(0)->Items(0));
  form->Action4->SetEnabled(false);
  EXPECT_FALSE(form->Button1->Enabled());
  UserClick(form->Button1);
  EXPECT_FALSE(form->Action4->Execute());
  EXPECT_TRUE(form->ran.empty());
  form->Action4->SetEnabled(true);
  form->Button1->Click();
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action4"}));
  form->Action3->SetVisible(false);
  EXPECT_NONFATAL_FAILURE(UserClickPanelButton(form->CategoryButtons1, "复制"), "no button");
}

TEST_F(ActionTest, MenuItemsFollowTheirActions) {
  auto* menu = new TMainMenu(form);
  auto* top = NewMenuItem(form, menu->Items(), "N1", "功能(&F)");
  auto* item = NewMenuItem(form, top, "N2", "");
  item->SetAction(form->Action3);
  form->SetMenu(menu);
  EXPECT_EQ(item->Caption(), "复制");
  form->Action3->SetChecked(true);
  EXPECT_TRUE(item->Checked());
  UserChoose(item);
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action3"}));
  EXPECT_EQ(menu->FindItemByCaption("功能(F)"), top);
}

TEST_F(ActionTest, AMenuShowsItsItemsInOrderThroughInsertsMovesAndRemovals) {
  auto* menu = new TMainMenu(form);
  auto* top = NewMenuItem(form, menu->Items(), "N1", "功能");
  NewMenuItem(form, top, "N2", "b");
  NewMenuItem(form, top, "N3", "d");
  auto item = [&](const std::string& caption) {
    auto* made = new TMenuItem(form);
    made->SetCaption(caption);
    return made;
  };
  auto* a = item("a");
  top->Insert(0, a);
  top->Insert(2, item("c"));
  top->Insert(99, item("e"));  // past the end: last
  form->SetMenu(menu);
  auto shown = [&] {
    std::string texts;
    for (QAction* action : top->NativeAction()->menu()->actions())
      texts += action->text().toStdString();
    return texts;
  };
  EXPECT_EQ(shown(), "abcde");
  top->Insert(3, a);  // moved within its menu
  EXPECT_EQ(shown(), "bcdae");
  auto* other = NewMenuItem(form, menu->Items(), "N4", "其他");
  other->Insert(0, top->Items(1));  // moved to another menu
  EXPECT_EQ(shown(), "bdae");
  EXPECT_EQ(other->NativeAction()->menu()->actions().size(), 1);
  top->Remove(a);
  EXPECT_EQ(shown(), "bde");
}

// The toolkit underlines one UTF-16 unit after '&': a character beyond it (an emoji, four bytes
// in GB18030) after the mark shows whole, as no accelerator; other accelerators stay.
TEST_F(ActionTest, AnEmojiAfterTheAcceleratorMarkShowsWholeInMenusAndOnButtons) {
  auto* menu = new TPopupMenu(form);
  std::vector<std::string> shown;
  for (const char* caption : {"Q&😀x", "&&😀", "中&文", "&😀&x", "😀&"}) {
    TMenuItem* item = NewMenuItem(form, menu->Items(), "", caption);
    shown.push_back(item->NativeAction()->text().toStdString());
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{U8("Q😀x"), U8("&&😀"), U8("中&文"), U8("😀&x"), U8("😀&")}));
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetCaption("&😀");
  EXPECT_EQ(static_cast<QAbstractButton*>(button->Widget())->text().toStdString(), U8("😀"));
}

TEST_F(ActionTest, MenuItemsShowTheirPicturesFromTheMenusImages) {
  auto images = std::make_unique<TImageList>(16, 16);
  for (TColor colour : {clRed, clBlue}) {
    TBitmap picture(16, 16, pf24bit);
    picture.Canvas().Brush().SetColor(colour);
    picture.Canvas().FillRect(Rect(0, 0, 16, 16));
    images->Add(picture);
  }
  auto* menu = new TPopupMenu(form);
  auto* top = NewMenuItem(form, menu->Items(), "N1", "a");
  auto* inner = NewMenuItem(form, top, "N2", "b");
  auto* none = NewMenuItem(form, menu->Items(), "N3", "c");
  top->SetImageIndex(1);
  inner->SetImageIndex(0);
  none->SetImageIndex(5);  // outside the list
  // The centre pixel of what an item shows, 0 for no picture.
  auto shown = [](TMenuItem* item) -> QRgb {
    const QIcon icon = item->NativeAction()->icon();
    if (icon.isNull()) return 0;
    return icon.pixmap(16, 16).toImage().pixel(8, 8) & 0xFFFFFF;
  };
  EXPECT_EQ(shown(top), 0u);  // no images yet
  menu->SetImages(images.get());
  EXPECT_EQ(menu->Images(), images.get());
  EXPECT_EQ(shown(top), 0x0000FFu);
  EXPECT_EQ(shown(inner), 0xFF0000u);
  EXPECT_EQ(shown(none), 0u);
  // Items added later, and items following an action, show theirs too.
  auto* later = new TMenuItem(form);
  later->SetImageIndex(0);
  menu->Items()->Add(later);
  EXPECT_EQ(shown(later), 0xFF0000u);
  form->Action3->SetImageIndex(1);
  later->SetAction(form->Action3);
  EXPECT_EQ(later->ImageIndex(), 1);
  EXPECT_EQ(shown(later), 0x0000FFu);
  // A change of the list reaches the items; a freed list is forgotten.
  images->Delete(1);
  EXPECT_EQ(shown(top), 0u);
  EXPECT_EQ(shown(inner), 0xFF0000u);
  images.reset();
  EXPECT_EQ(menu->Images(), nullptr);
  EXPECT_EQ(shown(inner), 0u);
}

TEST_F(ActionTest, FreeingAnActionLeavesItsClientsWorking) {
  delete form->Action4;
  form->Action4 = nullptr;
  EXPECT_EQ(form->Button1->Action(), nullptr);
  EXPECT_EQ(form->CategoryButtons1->Categories(0)->Items(0)->Action(), nullptr);
  form->Button1->Click();  // nothing to run, nothing breaks
  UserClickPanelButton(form->CategoryButtons1, "复制");
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action3"}));
  EXPECT_EQ(form->ActionList1->ActionCount(), 3);
}

TEST_F(ActionTest, AnExceptionInAnActionIsShownByThePanelClick) {
  form->Action3->OnExecute = [](TComponent*) { RaiseCannotCreate("x"); };
  dialogs().AnswerMessage();
  UserClickPanelButton(form->CategoryButtons1, "复制");
  EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"无法创建文件「x」"}));
  UserClickPanelButton(form->CategoryButtons1, "时间起卦");
  EXPECT_EQ(form->ran, (std::vector<std::string>{"Action4"}));
}

}  // namespace
