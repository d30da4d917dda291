// The ownership tree, names, notifications and the loading state.
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/gui/PopupWindow.h"
#include "platform/gui/QtPeer.h"
#include "tests/support/GuiTest.h"

namespace {

// Records its own destruction, so tests can see order and completeness.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::vector<std::string>* log, const std::string& name)
      : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~Probe() override { log_->push_back(Name()); }
  void Loaded() override {
    TComponent::Loaded();
    ++loadedCount;
  }
  int loadedCount = 0;
  std::vector<TComponent*> removed;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove) removed.push_back(c);
  }

 private:
  std::vector<std::string>* log_;
};

class ProbeLabel : public TLabel {
 public:
  ProbeLabel(TComponent* owner, std::vector<std::string>* log) : TLabel(owner), log_(log) {}
  ~ProbeLabel() override { log_->push_back("label:" + Name()); }

 private:
  std::vector<std::string>* log_;
};

class ProbePanel : public TPanel {
 public:
  ProbePanel(TComponent* owner, std::vector<std::string>* log) : TPanel(owner), log_(log) {}
  ~ProbePanel() override { log_->push_back("panel:" + Name()); }

 private:
  std::vector<std::string>* log_;
};

class ComponentTest : public GuiTest {};

TEST_F(ComponentTest, FindComponentIgnoresCaseAndNamesStayUnique) {
  TComponent root(nullptr);
  auto* a = new TComponent(&root);
  a->SetName("CheckBox1");
  auto* b = new TComponent(&root);
  b->SetName("Label12");
  EXPECT_EQ(root.FindComponent("checkbox1"), a);
  EXPECT_EQ(root.FindComponent("CHECKBOX1"), a);
  EXPECT_EQ(root.FindComponent("label" + std::to_string(12)), b);
  EXPECT_EQ(root.FindComponent("label1"), nullptr);
  EXPECT_EQ(root.FindComponent(""), nullptr);
  EXPECT_THROW(b->SetName("CHECKBOX1"), EComponentError);
  EXPECT_EQ(b->Name(), "Label12");
  EXPECT_EQ(root.ComponentCount(), 2);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_THROW(root.Components(2), EListError);
}

TEST_F(ComponentTest, OwnerFreesWhatItOwnsLastCreatedFirstAndAnEarlyFreeLeavesTheList) {
  std::vector<std::string> log;
  {
    TComponent root(nullptr);
    new Probe(&root, &log, "first");
    auto* middle = new Probe(&root, &log, "middle");
    new Probe(middle, &log, "inner");
    new Probe(&root, &log, "last");
    auto* early = new Probe(&root, &log, "early");
    delete early;
    EXPECT_EQ(root.ComponentCount(), 3);
    EXPECT_EQ(root.FindComponent("early"), nullptr);
  }
  // A destructor logs as it starts, so "middle" shows before what it owns.
  EXPECT_EQ(log, (std::vector<std::string>{"early", "last", "middle", "inner", "first"}));
}

TEST_F(ComponentTest, ControlsOfAWindowGoChildrenBeforeParentsWhicheverOwnsThem) {
  std::vector<std::string> log;
  auto* form = new TForm(nullptr);
  auto* panel = new ProbePanel(form, &log);
  panel->SetName("Outer");
  panel->SetParent(form);
  auto* inner = new ProbePanel(form, &log);
  inner->SetName("Inner");
  inner->SetParent(panel);
  // Owned by the inner panel but placed on the form's outer panel: two trees cross.
  auto* label = new ProbeLabel(inner, &log);
  label->SetName("Caption");
  label->SetParent(inner);
  auto* loose = new ProbeLabel(nullptr, &log);  // owned by nobody, freed by its parent
  loose->SetName("Loose");
  loose->SetParent(panel);
  EXPECT_EQ(panel->ControlCount(), 2);
  delete form;
  // Each exactly once (a second free or a peer freed behind its control fails under the
  // sanitizers); a parent starts going before the children it frees.
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (std::vector<std::string>{"label:Caption", "label:Loose", "panel:Inner",
                                           "panel:Outer"}));
}

TEST_F(ComponentTest, FreeingAControlDirectlyDetachesItFromParentAndOwner) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetName("Edit1");
  edit->SetParent(&form);
  form.Show();
  edit->SetFocus();
  EXPECT_EQ(form.ActiveControl(), edit);
  delete edit;
  EXPECT_EQ(form.ControlCount(), 0);
  EXPECT_EQ(form.FindComponent("Edit1"), nullptr);
  EXPECT_EQ(form.ActiveControl(), nullptr);
  form.Hide();
}

TEST_F(ComponentTest, FreeNotificationTellsBothSidesAndSiblingsHearOfRemovals) {
  std::vector<std::string> log;
  TComponent root(nullptr);
  auto* watcher = new Probe(&root, &log, "watcher");
  TComponent* stranger = new TComponent(nullptr);
  watcher->FreeNotification(stranger);
  delete stranger;
  ASSERT_EQ(watcher->removed.size(), 1u);
  EXPECT_EQ(watcher->removed[0], stranger);

  auto* sibling = new TComponent(&root);
  delete sibling;  // an owned component going away is news for its siblings too
  ASSERT_EQ(watcher->removed.size(), 2u);
  EXPECT_EQ(watcher->removed[1], sibling);
}

TEST_F(ComponentTest, PopupMenuFreedFirstIsForgottenByItsControl) {
  TForm form(nullptr);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  auto* menu = new TPopupMenu(&form);
  label->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(label->PopupMenu(), nullptr);
}

class LoadingForm : public TForm {
 public:
  explicit LoadingForm(TComponent* owner) : TForm(owner) {
    // The log lives outside: the probe is freed by the base after this class is gone.
    probe = new Probe(this, &Log(), "probe");
    loadingInConstructor = probe->IsLoading();
    OnCreate = [this](TComponent*) { loadedAtCreate = probe->loadedCount; };
  }
  static std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
  }
  Probe* probe;
  bool loadingInConstructor = false;
  int loadedAtCreate = -1;
};

TEST_F(ComponentTest, AWindowBuiltInCodeLoadsOnceBeforeOnCreate) {
  LoadingForm* form = NewForm<LoadingForm>(nullptr);
  EXPECT_TRUE(form->loadingInConstructor);
  EXPECT_FALSE(form->probe->IsLoading());
  EXPECT_EQ(form->probe->loadedCount, 1);
  EXPECT_EQ(form->loadedAtCreate, 1);
  EXPECT_FALSE(form->IsLoading());
  // Components made later are never loading.
  auto* late = new TComponent(form);
  EXPECT_FALSE(late->IsLoading());
  delete form;
}

}  // namespace

namespace {

TEST_F(ComponentTest, FontsAndColoursComeFromTheParentUntilTheControlSetsItsOwn) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* label = new TLabel(&form);
  label->SetParent(panel);
  TFont song;
  song.SetName("宋体");
  song.SetSize(12);
  form.SetFont(song);
  EXPECT_EQ(label->Font()->Name(), "宋体");  // through the panel
  EXPECT_EQ(label->Font()->Size(), 12);
  label->Font()->SetColor(clRed);  // its own from now on
  EXPECT_FALSE(label->ParentFont());
  TFont small;
  small.SetSize(8);
  form.SetFont(small);
  EXPECT_EQ(panel->Font()->Size(), 8);
  EXPECT_EQ(label->Font()->Size(), 12);

  form.SetColor(clYellow);
  EXPECT_EQ(panel->Color(), clYellow);
  panel->SetColor(clAqua);
  form.SetColor(clWhite);
  EXPECT_EQ(panel->Color(), clAqua);
  EXPECT_EQ(label->Color(), clAqua);
}

using zgui::ToQColor;
using zgui::ToQFont;

// What a control's widget draws its text with.
int PixelsOf(const TControl* c) { return c->Widget()->font().pixelSize(); }
QColor TextColourOf(const TControl* c) {
  return c->Widget()->palette().color(QPalette::WindowText);
}

TEST_F(ComponentTest, WidgetsDrawWithTheFontTheirControlsHoldWhetherTakenFromTheParentOrOwn) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* label = new TLabel(&form);
  label->SetParent(panel);
  auto* edit = new TEdit(&form);
  edit->SetParent(panel);
  auto* own = new TCheckBox(&form);
  TFont big;
  big.SetSize(20);
  own->SetFont(big);  // set before it has a parent
  own->SetParent(panel);
  auto* late = new TButton(&form);  // placed after the parent's font changed

  TFont song;
  song.SetName("宋体");
  song.SetSize(12);
  song.SetColor(clBlue);
  form.SetFont(song);
  late->SetParent(panel);
  const QFont expected = ToQFont(song);
  for (TControl* c : {static_cast<TControl*>(panel), static_cast<TControl*>(label),
                      static_cast<TControl*>(edit), static_cast<TControl*>(late)}) {
    EXPECT_EQ(c->Widget()->font().family(), expected.family());
    EXPECT_EQ(PixelsOf(c), expected.pixelSize());
    EXPECT_EQ(TextColourOf(c), ToQColor(clBlue));
  }
  EXPECT_EQ(PixelsOf(own), ToQFont(big).pixelSize());
  EXPECT_EQ(TextColourOf(own), ToQColor(big.Color()));

  // A control that stops following its parent keeps the font it has when the parent's changes.
  edit->SetParentFont(false);
  label->Font()->SetColor(clRed);
  TFont small;
  small.SetSize(8);
  small.SetColor(clGreen);
  form.SetFont(small);
  EXPECT_EQ(PixelsOf(panel), ToQFont(small).pixelSize());
  EXPECT_EQ(PixelsOf(late), ToQFont(small).pixelSize());
  EXPECT_EQ(TextColourOf(late), ToQColor(clGreen));
  EXPECT_EQ(PixelsOf(edit), expected.pixelSize());
  EXPECT_EQ(edit->Widget()->font().family(), expected.family());
  EXPECT_EQ(TextColourOf(edit), ToQColor(clBlue));
  EXPECT_EQ(PixelsOf(label), expected.pixelSize());
  EXPECT_EQ(TextColourOf(label), ToQColor(clRed));
  EXPECT_EQ(PixelsOf(own), ToQFont(big).pixelSize());

  // Following again, and moving to a parent with another font.
  edit->SetParentFont(true);
  EXPECT_EQ(PixelsOf(edit), ToQFont(small).pixelSize());
  auto* other = new TPanel(&form);
  other->SetParent(&form);
  other->SetFont(big);
  late->SetParent(other);
  EXPECT_EQ(PixelsOf(late), ToQFont(big).pixelSize());
  late->SetParent(panel);
  EXPECT_EQ(PixelsOf(late), ToQFont(small).pixelSize());
}

TEST_F(ComponentTest, WindowsWithoutAParentShowTheirOwnFont) {
  TForm form(nullptr);
  const QFont standard = ToQFont(TFont());
  EXPECT_EQ(form.Widget()->font().family(), standard.family());
  EXPECT_EQ(PixelsOf(&form), standard.pixelSize());
  TPanel hint(nullptr);
  MakePopupWindow(&hint, TPopupStyle{});
  EXPECT_EQ(hint.Widget()->font().family(), standard.family());
  EXPECT_EQ(PixelsOf(&hint), standard.pixelSize());
  EXPECT_EQ(TextColourOf(&hint), ToQColor(TFont().Color()));
}

TEST_F(ComponentTest, ALabelNotYetPlacedMeasuresWithItsOwnFont) {
  TForm form(nullptr);
  TFont big;
  big.SetSize(24);
  form.SetFont(big);
  auto* loose = new TLabel(&form);
  loose->SetCaption("六爻排盘 Zelkar");
  const int looseWidth = loose->Width();
  const int looseHeight = loose->Height();
  auto* placed = new TLabel(&form);
  placed->SetParent(&form);
  placed->SetFont(*loose->Font());
  placed->SetCaption("六爻排盘 Zelkar");
  EXPECT_EQ(looseWidth, placed->Width());
  EXPECT_EQ(looseHeight, placed->Height());
  loose->SetParent(&form);  // now it takes the form's font
  EXPECT_GT(loose->Height(), looseHeight);
  EXPECT_EQ(PixelsOf(loose), ToQFont(big).pixelSize());
}

TEST_F(ComponentTest, AControlCannotBecomeItsOwnAncestor) {
  TForm form(nullptr);
  auto* outer = new TPanel(&form);
  outer->SetParent(&form);
  auto* inner = new TPanel(&form);
  inner->SetParent(outer);
  EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
  EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
  EXPECT_EQ(outer->Parent(), &form);
}

}  // namespace
