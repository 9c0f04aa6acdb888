// The game's window under a real display (Xvfb in CI): its controls, the
// mouse orders and the information list through real events, the frame timer,
// resizes, the error box, the picture read back from the play field, and what
// the window adds around the game: keys, pace, the resting pointer, the
// smallest size, the bars and the English texts. Exits with 77 (skipped) when
// there is no display at all.
#include "app/form1.h"

#include <GL/gl.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "app/field_map_view.h"
#include "app/language.h"
#include "app/options.h"
#include "app/play_field.h"
#include "app/play_field_view.h"
#include "app/start_dialog.h"
#include "game/play_inputs.h"
#include "game/start_view.h"
#include "render/opengl_gl.h"
#include "sim/control.h"
#include "world/orders.h"
#include "world/random.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

QStringList RadioItems(const QGroupBox* group) {
  QStringList items;
  for (const QRadioButton* b : group->findChildren<QRadioButton*>()) items << b->text();
  return items;
}

int CheckedItem(const QGroupBox* group) {
  const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
  for (int i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return i;
  }
  return -1;
}

QStringList ListLines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// A colour in 8-bit levels.
struct Rgb {
  int r, g, b;
};

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TForm1> form_;

  template <typename T>
  T* Control(const char* name) {
    return form_->findChild<T*>(QString::fromLatin1(name));
  }

  QTimer* Timer(const char* name) { return Control<QTimer>(name); }

  // Shows a fresh window and waits until the play field is on screen and has
  // had its first size report.
  void ShowForm() {
    form_ = std::make_unique<TForm1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QTRY_VERIFY(form_->playField()->isExposed());
    QTRY_VERIFY(form_->frameSteps() > 0);
  }

  // Stops the frame timer, so the test alone decides when frames run, and
  // switches the computer players off, so nothing else writes orders.
  void HoldFrames() {
    Timer("Timer1")->stop();
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3"}) {
      Control<QCheckBox>(name)->setChecked(false);
    }
  }

  // The panel pixel (y counted downwards) showing field point (x, y).
  QPoint PanelPoint(int x, int y) {
    const ViewState& v = form_->view();
    return QPoint(x + qRound(v.cameraX), form_->playField()->height() - y - qRound(v.cameraY));
  }

  // Points the mouse at the centre of a grid cell and runs the frame that
  // turns the pointer into the cursor cell.
  void PointAtCell(int column, int row) {
    form_->view().cameraX = 0;
    form_->view().cameraY = 0;
    QTest::mouseMove(form_->playField(), PanelPoint(column * 50 + 25, row * 50 + 25));
    form_->TimerDraw();
    QCOMPARE(form_->view().cursorColumn, column);
    QCOMPARE(form_->view().cursorRow, row);
  }

  void ClickCell(int column, int row) {
    PointAtCell(column, row);
    QTest::mouseClick(form_->playField(), Qt::LeftButton, {},
                      PanelPoint(column * 50 + 25, row * 50 + 25));
  }

  // The GL viewport, in device pixels; all zero without GL.
  std::array<GLint, 4> ViewportNow() {
    std::array<GLint, 4> viewport{};
    if (form_->hasGl()) glGetIntegerv(GL_VIEWPORT, viewport.data());
    return viewport;
  }

  // The viewport of a play field `width` x `height` logical pixels large.
  std::array<GLint, 4> ExpectedViewport(int width, int height) {
    if (!form_->hasGl()) return {};
    const qreal ratio = form_->playField()->devicePixelRatio();
    return {0, 0, qRound(width * ratio), qRound(height * ratio)};
  }

  // The pixel of a picture of the field (top row first, device pixels, the
  // camera at (0, 0)) that shows field point (x, y).
  QPoint PixelOf(const QImage& picture, int x, int y) {
    const qreal ratio = form_->playField()->devicePixelRatio();
    return QPoint(qRound(x * ratio), picture.height() - 1 - qRound(y * ratio));
  }

  // Whether any pixel within `reach` of field point (x, y) has colour `want`,
  // give or take 2 levels.
  bool AnyNear(const QImage& picture, int x, int y, int reach, Rgb want) {
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        const QPoint p = PixelOf(picture, x + dx, y + dy);
        if (!picture.valid(p)) continue;
        const QColor c = picture.pixelColor(p);
        if (std::abs(c.red() - want.r) <= 2 && std::abs(c.green() - want.g) <= 2 &&
            std::abs(c.blue() - want.b) <= 2) {
          return true;
        }
      }
    }
    return false;
  }

  // The picture of the field built by framePixels.
  void CheckPicture(const char* what, const QImage& picture) {
    const auto anyNear = [&](int x, int y, int reach, Rgb want) {
      return AnyNear(picture, x, y, reach, want);
    };
    const auto level = [](float c) { return qRound(c * 255); };
    const Player& side1 = form_->world().players[1];
    const Rgb owner{level(side1.red), level(side1.green), level(side1.blue)};
    const Rgb grid{77, 77, 77};  // 0.3 grey
    const Rgb yellow{255, 255, 0};

    const auto check = [&](bool ok, const char* element) {
      QVERIFY2(ok, qPrintable(QString("%1: %2").arg(what, element)));
    };
    check(anyNear(100, 160, 1, grid), "grid line x = 100");
    check(anyNear(160, 50, 1, grid), "grid line y = 50");
    check(anyNear(75, 175, 0, {0, 0, 0}) && !anyNear(75, 175, 3, grid), "background in a cell");
    check(anyNear(117, 125, 2, yellow), "the mine's left side");
    check(anyNear(125, 133, 2, yellow), "the mine's top side");
    check(anyNear(325, 217, 2, owner), "the base's eaves, in its side's colour");
    check(anyNear(317, 210, 2, owner), "the base's left wall, in its side's colour");
    check(anyNear(225, 200, 1, {179, 179, 179}), "the cursor cell's lower side, 0.7 grey");
  }

  void ChooseItem(const char* group, int item) {
    QRadioButton* button = Control<QGroupBox>(group)->findChildren<QRadioButton*>().at(item);
    // Over the round indicator: the button is wider than what reacts to clicks.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QVERIFY(button->isChecked());
  }

 private slots:
  void init() { ShowForm(); }
  void cleanup() { form_.reset(); }

  void controlsHaveTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    // Panel1, Panel2 and Panel3 lie in the client area between the menu bar
    // and the status bar, placed as the window's own layout places them.
    QTest::newRow("Panel1") << "Panel1"
                            << "Client" << QRect(0, 0, 694, 33);
    QTest::newRow("Panel2") << "Panel2"
                            << "Client" << QRect(0, 33, 209, 447);
    QTest::newRow("ListBox1") << "ListBox1"
                              << "Panel2" << QRect(8, 8, 193, 217);
    QTest::newRow("RadioGroup1") << "RadioGroup1"
                                 << "Panel2" << QRect(8, 232, 185, 105);
    QTest::newRow("RadioGroup2") << "RadioGroup2"
                                 << "Panel2" << QRect(8, 336, 185, 57);
    QTest::newRow("CheckBox1") << "CheckBox1"
                               << "Panel2" << QRect(16, 408, 41, 17);
    QTest::newRow("CheckBox2") << "CheckBox2"
                               << "Panel2" << QRect(72, 408, 41, 17);
    QTest::newRow("CheckBox3") << "CheckBox3"
                               << "Panel2" << QRect(128, 408, 41, 17);
    QTest::newRow("Panel3") << "Panel3"
                            << "Client" << QRect(209, 33, 485, 447);
  }

  void controlsHaveTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    const QWidget* control = form_->findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
  }

  void controlsStartAsDesigned() {
    QCOMPARE(form_->objectName(), QString("Form1"));
    // The client area keeps the game's size; the bars add to the window's.
    const QWidget* client = Control<QWidget>("Client");
    QCOMPARE(client->size(), QSize(694, 480));
    QCOMPARE(client->y(), form_->menuBar()->geometry().bottom() + 1);
    QCOMPARE(form_->statusBar()->y(), client->geometry().bottom() + 1);
    QCOMPARE(form_->height(), form_->statusBar()->geometry().bottom() + 1);
    QCOMPARE(form_->playField()->size(), QSize(485, 447));
    const QString caption = form_->windowTitle();
    QVERIFY2(caption.startsWith("\"KRAGMOOR\" ") && caption.size() > 11, qPrintable(caption));
    QCOMPARE(Control<QLabel>("Panel1")->text(), caption);

    // An 11-pixel font that has the Cyrillic letters of the captions.
    QCOMPARE(form_->font().pixelSize(), 11);
    const QFontMetrics metrics(form_->font());
    for (const QChar c : QString("ВыбратьЗлолтоЖЧ")) QVERIFY(metrics.inFont(c));

    const QGroupBox* group1 = Control<QGroupBox>("RadioGroup1");
    QCOMPARE(group1->title(), QString("Действие по клику мышки."));
    QCOMPARE(RadioItems(group1),
             QStringList({"Выбрать", "Идти", "Атаковать", "Строить", "Чинить"}));
    QCOMPARE(CheckedItem(group1), 0);
    const QGroupBox* group2 = Control<QGroupBox>("RadioGroup2");
    QCOMPARE(group2->title(), QString("Строительство"));
    QCOMPARE(RadioItems(group2), QStringList({"Главная база", "Крестьянин"}));
    QCOMPARE(CheckedItem(group2), 0);

    for (int n = 1; n <= 3; ++n) {
      const QCheckBox* box = form_->findChild<QCheckBox*>(QString("CheckBox%1").arg(n));
      QVERIFY(box != nullptr);
      QCOMPARE(box->text(), QString("AI-%1").arg(n));
      QVERIFY(box->isChecked());
      // Beside it, its side's colour (framePixels compares it with the field's).
      const QFrame* swatch = form_->findChild<QFrame*>(QString("Swatch%1").arg(n));
      QVERIFY(swatch != nullptr);
      QVERIFY(swatch->geometry().left() > box->geometry().right());
      const Player& p = form_->world().players[n - 1];
      const QColor c = swatch->palette().color(QPalette::Window);
      QVERIFY(std::abs(c.red() - p.red * 255) <= 1 && std::abs(c.green() - p.green * 255) <= 1 &&
              std::abs(c.blue() - p.blue * 255) <= 1);
    }
    const QMenu* game = form_->menuBar()->findChild<QMenu*>("GameMenu");
    QCOMPARE(game->title(), QString("Игра"));
    QCOMPARE(game->actions().last()->text(), QString("Выход"));
    QCOMPARE(game->actions().last()->shortcut(), QKeySequence("Ctrl+Q"));

    QCOMPARE(Timer("Timer1")->interval(), 10);
    QVERIFY(Timer("Timer1")->isActive());
    QCOMPARE(Timer("Timer2")->interval(), 100);
    QVERIFY(Timer("Timer2")->isActive());

    // The scenario is written: three mines, three bases, three peasants.
    const World& world = form_->world();
    QCOMPARE(world.entities[0].kind, kKindMine);
    QCOMPARE(world.entities[2].kind, kKindBase);
    QCOMPARE(world.entities[3].kind, kKindPeasant);
    QCOMPARE(form_->view().selected, -1);
  }

  // main() runs the tests ten hours east of UTC: a seed taken from the local
  // time of day would be hours away from this one.
  void seedIsTheUtcTimeOfDay() {
    const QTime before = QDateTime::currentDateTimeUtc().time();
    const TForm1 fresh;
    const QTime after = QDateTime::currentDateTimeUtc().time();
    const auto ms = [](const QTime& t) {
      return static_cast<int64_t>(SeedFromTimeOfDay(t.hour(), t.minute(), t.second(), t.msec()));
    };
    const int64_t seed = fresh.world().seed;
    if (ms(after) >= ms(before)) {  // not across midnight
      QVERIFY2(seed >= ms(before) && seed <= ms(after), qPrintable(QString::number(seed)));
    }
  }

  void checkBoxesSwitchTheComputerPlayers() {
    QTest::mouseClick(Control<QCheckBox>("CheckBox2"), Qt::LeftButton);
    QCOMPARE(form_->Inputs().computerPlayer, (std::array<bool, 3>{true, false, true}));
    QTest::mouseClick(Control<QCheckBox>("CheckBox1"), Qt::LeftButton);
    QTest::mouseClick(Control<QCheckBox>("CheckBox2"), Qt::LeftButton);
    QCOMPARE(form_->Inputs().computerPlayer, (std::array<bool, 3>{false, true, true}));
    QCOMPARE(form_->Inputs().panelWidth, 485);
    QCOMPARE(form_->Inputs().panelHeight, 447);
  }

  // The pointer's y is counted downwards by the toolkit and upwards by the game.
  void mouseMovesSetThePointer() {
    HoldFrames();
    QTest::mouseMove(form_->playField(), QPoint(100, 47));
    QCOMPARE(form_->view().mouseX, 100);
    QCOMPARE(form_->view().mouseY, 400);
    QTest::mouseMove(form_->playField(), QPoint(0, 446));
    QCOMPARE(form_->view().mouseX, 0);
    QCOMPARE(form_->view().mouseY, 1);
  }

  void clicksWriteOrders() {
    HoldFrames();
    World& world = form_->world();

    ClickCell(3, 3);  // select the peasant of slot 3, at (175, 175)
    QCOMPARE(form_->view().selected, 3);

    ChooseItem("RadioGroup1", kModeGo);
    ClickCell(3, 4);  // empty: walk to the cell's centre
    QCOMPARE(world.entities[3].order, std::string("idti 175,225"));
    ClickCell(0, 0);  // slot 0's mine
    QCOMPARE(world.entities[3].order, std::string("idtiza 0"));

    // A build click on an occupied cell writes no order, but starts the
    // build's count over for the chosen item.
    ChooseItem("RadioGroup1", kModeBuild);
    ChooseItem("RadioGroup2", kBuildPeasant);
    world.entities[3].progress = 7;
    ClickCell(5, 5);  // slot 2's base, at (275, 275)
    QCOMPARE(world.entities[3].order, std::string("idtiza 0"));
    QCOMPARE(world.entities[3].progress, 0);
    QCOMPARE(world.entities[3].plan, 10);
    ClickCell(3, 4);
    QCOMPARE(world.entities[3].order, std::string("stroit 1,150,200"));

    // Selecting an empty cell clears the selection; then no mode orders.
    ChooseItem("RadioGroup1", kModeSelect);
    ClickCell(3, 4);
    QCOMPARE(form_->view().selected, -1);
    ChooseItem("RadioGroup1", kModeGo);
    ClickCell(3, 4);
    QCOMPARE(world.entities[3].order, std::string("stroit 1,150,200"));
  }

  // The play controls end to end: Ctrl+A and P from the keyboard, a drag
  // that selects a box (and is no click), a right-click that orders.
  void playControlsSelectTrainAndOrder() {
    HoldFrames();  // every box unticked: the player is side 1 (owner 0)
    World& world = form_->world();
    QListWidget* list = Control<QListWidget>("ListBox1");
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(SessionSelection(form_->session()), (std::vector<int32_t>{4, 5}));
    QTest::keyClick(list, Qt::Key_P);
    QVERIFY(world.entities[4].order.starts_with("stroit 1,"));

    // From beside slot 3's peasant at (175, 175), whose side the box takes.
    const std::string before = world.entities[3].order;
    QTest::mousePress(form_->playField(), Qt::LeftButton, {}, PanelPoint(170, 170));
    QTest::mouseMove(form_->playField(), PanelPoint(200, 200));  // the box is drawn meanwhile
    QCOMPARE(form_->playFieldView()->dragBox(),
             QRectF(PanelPoint(170, 170), PanelPoint(200, 200)).normalized());
    QTest::mouseRelease(form_->playField(), Qt::LeftButton, {}, PanelPoint(200, 200));
    QVERIFY(form_->playFieldView()->dragBox().isNull());
    QCOMPARE(SessionSelection(form_->session()), (std::vector<int32_t>{3}));
    QCOMPARE(world.entities[3].order, before);  // no click's order
    // Side 2's peasant may be selected, but the player of side 1 orders
    // only their own.
    QTest::mouseClick(form_->playField(), Qt::RightButton, {}, PanelPoint(175, 325));
    QCOMPARE(world.entities[3].order, before);
    world.entities[3].owner = 0;
    QTest::mouseClick(form_->playField(), Qt::RightButton, {}, PanelPoint(175, 325));
    QVERIFY(world.entities[3].order.starts_with("idti "));
  }

  // --side and --levels start that side's game paused with the hint, the
  // other boxes on at those levels, and no dialog; New game's dialog starts
  // the side chosen there, with an empty log.
  void startAsChosen() {
    // The first start asks, unless told not to; cancelled, the designed game runs on.
    QSettings(QStringLiteral("kragmoor"), QStringLiteral("kragmoor")).remove("start");
    qputenv("KRAGMOOR_NO_START_DIALOG", "1");
    form_->StartFromOptions(ParseOptions({"kragmoor"}));
    QVERIFY(form_->startDialog() == nullptr);
    qunsetenv("KRAGMOOR_NO_START_DIALOG");
    form_->StartFromOptions(ParseOptions({"kragmoor"}));
    QVERIFY(form_->startDialog() != nullptr && form_->startDialog()->isVisible());
    QVERIFY(form_->pace().paused());
    form_->startDialog()->reject();
    QTRY_VERIFY(form_->startDialog() == nullptr);
    QVERIFY(!form_->pace().paused());
    ApplyLanguage(kRussian);  // the dialog offered the system's language

    QCOMPARE(ParseOptions({"kragmoor", "--side", "2", "--levels", "123"}).side, 1);
    form_->StartFromOptions(ParseOptions({"kragmoor", "--side", "2", "--levels", "123"}));
    QVERIFY(form_->startDialog() == nullptr);
    QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(!Control<QCheckBox>("CheckBox2")->isChecked());
    QVERIFY(Control<QCheckBox>("CheckBox3")->isChecked());
    QCOMPARE(form_->session().level, (std::array<int32_t, kSideCount>{1, 2, 3}));
    QCOMPARE(form_->session().player.side, 1);  // the one side the orders reach
    QVERIFY(form_->pace().paused());
    const QLabel* hint = Control<QLabel>("Hint");
    QVERIFY(hint->isVisibleTo(form_.get()));
    QVERIFY(hint->text().startsWith("Пауза. Вы — сторона 2."));
    const int64_t frames = form_->frameSteps();
    QTest::qWait(100);
    QCOMPARE(form_->frameSteps(), frames);

    Control<QListWidget>("EventLog")->addItem("from the last game");
    form_->AskStart(true, kRussian);
    TStartDialog* dialog = form_->startDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    dialog->findChild<QComboBox*>("StartSide")->setCurrentIndex(2);
    QVERIFY(!dialog->findChild<QComboBox*>("StartLevel3")->isEnabled());
    dialog->findChild<QComboBox*>("StartLevel1")->setCurrentIndex(1);
    QTest::mouseClick(dialog->findChild<QPushButton*>("StartPlay"), Qt::LeftButton);
    QTRY_VERIFY(form_->startDialog() == nullptr);
    QCOMPARE(form_->frameSteps(), 0);
    QVERIFY(Control<QCheckBox>("CheckBox2")->isChecked());
    QVERIFY(!Control<QCheckBox>("CheckBox3")->isChecked());
    QCOMPARE(form_->session().level[0], 2);
    QCOMPARE(form_->session().player.side, 2);
    QVERIFY(form_->pace().paused());
    QCOMPARE(Control<QListWidget>("EventLog")->count(), 0);
    QVERIFY(HasSavedStartChoice());
    QCOMPARE(SavedStartChoice().side, 2);
  }

  // The player's losses are told in the log and flash on the map; the end
  // dialog says first whether you won or lost; a new game clears the log.
  void theEndAndTheLossesAreTold() {
    HoldFrames();        // every box unticked: the player has all three sides
    form_->TimerDraw();  // the watch's first look, whether or not the timer has run yet
    World& world = form_->world();
    world.entities[2].hp -= 5;  // side 2's base hurt
    form_->TimerDraw();
    form_->ShowInfo();
    const QListWidget* log = Control<QListWidget>("EventLog");
    QCOMPARE(ListLines(log), QStringList({"Ваша база атакована"}));
    QCOMPARE(form_->findChild<TFieldMapView*>("FieldMap")->flashes(), 1);
    form_->findChild<QMenu*>("HelpMenu")->actions().first()->trigger();
    auto* help = form_->findChild<QMessageBox*>("HelpBox");
    QVERIFY(help != nullptr);
    QVERIFY(help->text().contains(QString("ближе %1 единиц").arg(kAttackRange)));
    QVERIFY(help->text().contains(QString("главная база %1").arg(kBaseHp)));
    help->close();

    for (Tigrok& t : world.entities) {
      if (t.owner != 0 && t.kind != kKindMine) t.hp = 0;
    }
    form_->TimerDraw();
    form_->ShowInfo();
    QVERIFY(form_->gameOverBox() != nullptr);
    QVERIFY(form_->gameOverBox()->text().startsWith("Вы победили!\nПобедила сторона 1."));
    QVERIFY(log->count() > 1);
    form_->NewGame();
    QCOMPARE(log->count(), 0);
    QCOMPARE(form_->findChild<TFieldMapView*>("FieldMap")->flashes(), 0);

    ApplyLanguage(kEnglish);
    Control<QCheckBox>("CheckBox2")->setChecked(true);  // the player keeps side 1 only
    Control<QCheckBox>("CheckBox3")->setChecked(true);
    for (Tigrok& t : world.entities) {
      if (t.owner == 0 && t.kind != kKindMine) t.hp = 0;
    }
    form_->TimerDraw();
    form_->ShowInfo();
    QMessageBox* box = form_->gameOverBox();
    QVERIFY(box != nullptr);
    QVERIFY2(box->text().startsWith("You lost.\nThe game is over."), qPrintable(box->text()));
    auto* watch = box->findChild<QPushButton*>("KeepWatchingButton");
    QCOMPARE(watch->text(), QString("Keep watching"));
    QTest::mouseClick(watch, Qt::LeftButton);
    QTRY_VERIFY(form_->gameOverBox() == nullptr);
    QVERIFY(!form_->pace().paused());
    ApplyLanguage(kRussian);
  }

  // Timer2 refreshes the list from the world every 100 ms.
  void infoListShowsTheSelection() {
    HoldFrames();
    const QListWidget* list = Control<QListWidget>("ListBox1");
    World& world = form_->world();
    world.players[1].gold = 15;
    QTRY_COMPARE(ListLines(list),
                 QStringList({"Выбранный игрок: -1", "-------", "Злолто рассы N1: $0",
                              "Злолто рассы N2: $15", "Злолто рассы N3: $0"}));

    QCOMPARE(list->visualItemRect(list->item(0)).height(), 13);

    form_->view().selected = 3;
    world.entities[3].order = "idti 175,225";
    QTRY_COMPARE(list->count(), 13);
    const QStringList lines = ListLines(list);
    QCOMPARE(lines[0], QString("Выбранный игрок: 3"));
    QCOMPARE(lines[1], QString("Мысль игрока: idti 175,225"));
    QCOMPARE(lines[3], QString("Тип игрока: -1"));
    QCOMPARE(lines[6], QString("Расса игрока: 2"));
    QCOMPARE(lines[9], QString("-------"));
    QCOMPARE(lines[12], QString("Злолто рассы N3: $0"));

    // A line too long for the list is shown whole in its tooltip.
    world.entities[3].order = "stroit 0,1050,1050 and a long way further";
    QTRY_COMPARE(list->item(1)->toolTip(),
                 QString("Мысль игрока: stroit 0,1050,1050 and a long way further"));
  }

  // A resize reports a resize and an expose; the game steps once per size,
  // the first time when the window is first shown.
  void resizeRunsOneFrameStep() {
    form_.reset();
    form_ = std::make_unique<TForm1>();
    HoldFrames();
    QCOMPARE(form_->frameSteps(), 0);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QTRY_COMPARE(form_->frameSteps(), 1);
    QTest::qWait(300);
    QCOMPARE(form_->frameSteps(), 1);
    QCOMPARE(ViewportNow(), ExpectedViewport(485, 447));

    const int64_t before = form_->frameSteps();
    form_->resize(form_->size() + QSize(100, 50));
    QTRY_COMPARE(form_->playField()->size(), QSize(585, 497));
    QTRY_COMPARE(form_->frameSteps(), before + 1);
    QTest::qWait(300);
    QCOMPARE(form_->frameSteps(), before + 1);
    QCOMPARE(form_->Inputs().panelWidth, 585);
    QCOMPARE(form_->Inputs().panelHeight, 497);
    QCOMPARE(ViewportNow(), ExpectedViewport(585, 497));
  }

  // An order whose number does not convert ends its frame with one box; the
  // frame timer waits for the box and resumes when it is closed.
  void conversionErrorShowsOneBox() {
    HoldFrames();
    Timer("Timer1")->start();
    form_->world().entities[3].order = "idti a,1";
    QTRY_VERIFY(form_->errorBox() != nullptr);
    QMessageBox* box = form_->errorBox();
    QCOMPARE(box->text(), QString("'a' is not a valid integer value"));
    QVERIFY(!Timer("Timer1")->isActive());
    form_->TimerDraw();  // fails again: still one box
    QCOMPARE(form_->errorBox(), box);
    QCOMPARE(form_->findChildren<QMessageBox*>().size(), 1);

    form_->world().entities[3].order = "idle";
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(form_->errorBox() == nullptr);
    QVERIFY(Timer("Timer1")->isActive());
  }

  // The picture of one frame: read back with glReadPixels from the back
  // buffer of a frame whose swap is held back, and grabbed from the screen
  // after a frame of the frame timer.
  void framePixels() {
    if (!form_->hasGl()) QSKIP("no OpenGL on this display");
    HoldFrames();
    World& world = form_->world();
    for (Tigrok& t : world.entities) t = Tigrok{};
    world.entities[0] = {125, 125, 100, 100, "", "", 0, 0, 0, kKindMine, 1000};
    world.entities[1] = {325, 225, 200, 200, "", "", 0, 0, 1, kKindBase, 0};
    // A peasant of each side, too far apart to fight.
    for (int side = 0; side < kSideCount; ++side) {
      world.entities[2 + side] = {440,  75.0f + 150 * side, 100, 100, "", "", 0, 0,
                                  side, kKindPeasant,       0};
    }
    form_->view().selected = 1;
    form_->view().cameraX = 0;
    form_->view().cameraY = 0;
    QTest::mouseMove(form_->playField(), PanelPoint(240, 220));  // far from every edge

    form_->TimerDraw();
    glFinish();
    const QImage screen =
        form_->playField()->screen()->grabWindow(form_->playField()->winId()).toImage();

    OpenGlGl unswapped([] {});
    FrameStep(world, form_->view(), form_->Inputs(), &unswapped);
    QCOMPARE(form_->view().cameraX, 0.0f);
    const QSize device = form_->playField()->size() * form_->playField()->devicePixelRatio();
    QImage back(device, QImage::Format_RGBA8888);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, device.width(), device.height(), GL_RGBA, GL_UNSIGNED_BYTE, back.bits());

    CheckPicture("read back", back.mirrored());
    CheckPicture("on screen", screen);

    // Each swatch shows exactly the colour of its side's peasant on the field.
    for (int side = 0; side < kSideCount; ++side) {
      const QColor swatch = form_->findChild<QFrame*>(QString("Swatch%1").arg(side + 1))
                                ->palette()
                                .color(QPalette::Window);
      QCOMPARE(back.mirrored().pixelColor(PixelOf(back, 440, 75 + 150 * side)).rgb(), swatch.rgb());
    }
    // The selected base is marked in white on the window's picture alone: the
    // frame step itself draws no mark.
    const Rgb white{255, 255, 255};
    QVERIFY(AnyNear(screen, 325 - 23, 225, 1, white) && AnyNear(screen, 325, 225 + 23, 1, white));
    QVERIFY(!AnyNear(back.mirrored(), 325 - 23, 225, 2, white));
  }

  // Space pauses and resumes, + and - double and halve the speed, whatever
  // control has the focus, and that control never sees the key. At every
  // speed a frame step is the same frame step.
  void pauseAndSpeedKeys() {
    HoldFrames();
    QCheckBox* box = Control<QCheckBox>("CheckBox1");
    box->setFocus();
    const QLabel* status = Control<QLabel>("StatusText");
    const auto ticks = [this](int n) {
      const int64_t before = form_->frameSteps();
      for (int i = 0; i < n; ++i) form_->TimerDraw();
      return form_->frameSteps() - before;
    };
    QCOMPARE(ticks(10), 10);

    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(form_->pace().paused());
    QVERIFY(!box->isChecked());  // Space did not tick the focused box
    QCOMPARE(ticks(10), 0);
    QVERIFY2(status->text().contains("Пауза"), qPrintable(status->text()));
    // Paused, a click still acts on the cell under the pointer, and a resize
    // runs no frame.
    ClickCell(3, 3);
    QCOMPARE(form_->view().selected, 3);
    const int64_t frames = form_->frameSteps();
    form_->resize(form_->size() + QSize(20, 0));
    QTRY_COMPARE(form_->playField()->width(), 505);
    QCOMPARE(form_->frameSteps(), frames);
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(!status->text().contains("Пауза"));

    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3"}) {
      Control<QCheckBox>(name)->setChecked(true);
    }
    Session alone = form_->session();  // the same frames, one by one, without the window
    QTest::keyClick(Control<QListWidget>("ListBox1"), Qt::Key_Plus);
    QVERIFY2(status->text().contains("Скорость: ×2"), qPrintable(status->text()));
    QCOMPARE(ticks(10), 20);
    for (int i = 0; i < 20; ++i) {
      FrameStep(alone.world, alone.player.view, form_->Inputs(), nullptr);
    }
    QCOMPARE(StateHash(form_->session()), StateHash(alone));

    for (int i = 0; i < 5; ++i) QTest::keyClick(form_.get(), Qt::Key_Equal);
    QVERIFY(status->text().contains("×8"));
    QCOMPARE(ticks(1), 8);
    for (int i = 0; i < 6; ++i) QTest::keyClick(form_.get(), Qt::Key_Minus);
    QVERIFY(status->text().contains("×1/4"));
    QCOMPARE(ticks(8), 2);
  }

  // Home centres the view on the player's main base; each arrow pans it one
  // cell, as the edge scroll would move it.
  void homeAndArrowKeys() {
    HoldFrames();
    const ViewState& view = form_->view();
    form_->view().cameraX = 123.5f;
    form_->view().cameraY = -40.0f;
    // Sent to a radio button, whose own arrow keys would choose another item.
    QRadioButton* radio = Control<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>().at(0);
    radio->setFocus();
    QTest::keyClick(radio, Qt::Key_Home);
    const PlayerView& player = form_->session().player;  // side 1's base 4 at (925, 675)
    const CameraOffset home = CameraCentredOn({925, 675}, player.panelWidth, player.panelHeight);
    QCOMPARE(view.cameraX, home.x);
    QCOMPARE(view.cameraY, home.y);
    QTest::keyClick(radio, Qt::Key_Right);
    QCOMPARE(view.cameraX, home.x - 50.0f);
    QTest::keyClick(radio, Qt::Key_Up);
    QCOMPARE(view.cameraY, home.y - 50.0f);
    QTest::keyClick(radio, Qt::Key_Left);
    QTest::keyClick(radio, Qt::Key_Left);
    QTest::keyClick(radio, Qt::Key_Down);
    QCOMPARE(view.cameraX, home.x + 50.0f);
    QCOMPARE(view.cameraY, home.y);
    // The full stop selects side 1's idle peasant (slot 5) and shows it. (Made
    // idle here: the first frame's computer player may not have run yet.)
    form_->world().entities[5].order = std::string(kOrderIdle);
    QTest::keyClick(radio, Qt::Key_Period);
    QCOMPARE(view.selected, 5);
    const Tigrok& idle = form_->world().entities[5];  // at (825, 625) unless a frame moved it
    QCOMPARE(view.cameraX,
             CameraCentredOn({idle.x, idle.y}, player.panelWidth, player.panelHeight).x);
    QCOMPARE(CheckedItem(Control<QGroupBox>("RadioGroup1")), 0);
  }

  // Until the pointer first enters the field, and after it leaves, the game
  // takes it to rest at the field's centre: the view stays where it is.
  void pointerAwayRestsAtTheCentre() {
    form_.reset();
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
    ShowForm();
    const ViewState& view = form_->view();
    QCOMPARE(view.mouseX, 485 / 2);
    QCOMPARE(view.mouseY, 447 / 2);
    QTest::qWait(300);
    QVERIFY(form_->frameSteps() > 10);
    QCOMPARE(view.cameraX, 0.0f);
    QCOMPARE(view.cameraY, 0.0f);

    HoldFrames();
    QTest::mouseMove(form_->playField(), QPoint(5, 440));  // near the lower-left corner
    form_->TimerDraw();
    QCOMPARE(view.cameraX, 1.0f);
    QCOMPARE(view.cameraY, 1.0f);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form_->playField(), &leave);
    QCOMPARE(view.mouseX, 485 / 2);
    QCOMPARE(view.mouseY, 447 / 2);
    form_->TimerDraw();
    QCOMPARE(view.cameraX, 1.0f);
    QCOMPARE(view.cameraY, 1.0f);
  }

  // Shrunk as far as it goes, the window keeps every control of Panel2 whole
  // and a field on which the resting pointer scrolls nothing.
  void smallestSizeKeepsThePanelWhole() {
    form_->resize(100, 100);
    const QWidget* client = Control<QWidget>("Client");
    QTRY_COMPARE(client->size(), QSize(kMinClientWidth, kMinClientHeight));
    QTRY_COMPARE(form_->playField()->size(), QSize(200, 433));
    const QWidget* panel2 = Control<QWidget>("Panel2");
    QVERIFY(client->rect().contains(panel2->geometry()));
    const QRect inside = panel2->contentsRect();
    for (const QWidget* control : panel2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      QVERIFY2(inside.contains(control->geometry()), qPrintable(control->objectName()));
    }
    HoldFrames();
    const float cameraX = form_->view().cameraX;
    const float cameraY = form_->view().cameraY;
    for (int i = 0; i < 5; ++i) form_->TimerDraw();
    QCOMPARE(form_->view().cameraX, cameraX);
    QCOMPARE(form_->view().cameraY, cameraY);
  }

  // The Language menu switches every text at once, the information list's
  // labels too, and the choice is kept for the next run; --lang overrides it
  // for one run.
  void englishCaptions() {
    QCOMPARE(ParseOptions({"kragmoor", "--lang", "en"}).language, QString("en"));
    QCOMPARE(ParseOptions({"kragmoor"}).language, QString());

    HoldFrames();
    form_->findChild<QAction*>("Language_en")->trigger();
    QCOMPARE(SavedLanguage(), QString("en"));
    const QGroupBox* group1 = Control<QGroupBox>("RadioGroup1");
    QTRY_COMPARE(group1->title(), QString("Mouse click action"));  // the change is posted
    QCOMPARE(RadioItems(group1), QStringList({"Select", "Go", "Attack", "Build", "Repair"}));
    QCOMPARE(RadioItems(Control<QGroupBox>("RadioGroup2")), QStringList({"Main base", "Peasant"}));
    QCOMPARE(Control<QGroupBox>("RadioGroup2")->title(), QString("Building"));
    QCOMPARE(form_->menuBar()->findChild<QMenu*>("GameMenu")->title(), QString("Game"));
    QVERIFY(form_->windowTitle().startsWith("\"KRAGMOOR\" "));
    QCOMPARE(Control<QLabel>("Panel1")->text(), form_->windowTitle());
    QVERIFY(Control<QLabel>("StatusText")->text().startsWith("Frame: "));
    const QListWidget* list = Control<QListWidget>("ListBox1");
    QCOMPARE(list->item(0)->text(), QString("Selected: -1"));
    QCOMPARE(list->item(2)->text(), QString("Gold of side 1: $0"));
    QVERIFY(form_->findChild<QAction*>("Language_en")->isChecked());

    form_->findChild<QAction*>("Language_ru")->trigger();
    QCOMPARE(SavedLanguage(), QString("ru"));
    QTRY_COMPARE(group1->title(), QString("Действие по клику мышки."));
    QCOMPARE(list->item(0)->text(), QString("Выбранный игрок: -1"));
  }

  // A game played through the window's own inputs while it is recorded:
  // clicks, click modes, a build item and a check box, with the timer
  // running. The recording replays under check, every hash equal.
  void recordingReplaysUnderCheck() {
    const QTemporaryDir folder;
    const QString path = folder.filePath("played.sim");
    QVERIFY(form_->StartRecording(path));
    QVERIFY(form_->findChild<QAction*>("RecordAction")->isChecked());
    Control<QCheckBox>("CheckBox2")->click();  // side 1 to the player
    ClickCell(5, 5);                           // select its base (slot 2)
    ChooseItem("RadioGroup2", 1);
    ChooseItem("RadioGroup1", 3);
    ClickCell(2, 3);  // the base trains a peasant there
    QTest::qWait(300);
    ChooseItem("RadioGroup1", 0);
    ClickCell(3, 3);  // select the peasant in slot 3
    ChooseItem("RadioGroup1", 1);
    ClickCell(7, 2);  // send it there
    QTest::qWait(300);
    form_->StopRecording();
    QVERIFY(!form_->recording());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* input : {"\nai 1 0 1\n", "\nmode 3\n", "\nbuild 1\n", "\nclick\n"}) {
      QVERIFY2(text.contains(input), input);
    }
    // The recording checks with the runner, run as a user runs it.
    QProcess check;
    check.start(QStringLiteral(KRAGMOOR_SIM), {QStringLiteral("check"), path});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(check.readAllStandardError()), QString());
    QCOMPARE(check.exitCode(), 0);
  }

  // A game saved in the window and opened again plays on as if it had never
  // stopped, check boxes included; a damaged save is refused with a box
  // naming it, and the game it would have replaced stays.
  void savedGameOpensWhereItWas() {
    Control<QCheckBox>("CheckBox2")->click();
    QTest::qWait(200);
    Timer("Timer1")->stop();  // the test alone runs the frames from here on
    const QTemporaryDir folder;
    const QString path = folder.filePath("game.save");
    QVERIFY(form_->SaveGame(path));
    for (int i = 0; i < 300; ++i) form_->TimerDraw();
    const uint64_t played = StateHash(form_->session());

    Control<QCheckBox>("CheckBox2")->click();
    form_->NewGame();
    QVERIFY(form_->OpenGame(path));
    QVERIFY(!Control<QCheckBox>("CheckBox2")->isChecked());
    for (int i = 0; i < 300; ++i) form_->TimerDraw();
    QCOMPARE(StateHash(form_->session()), played);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() / 2));
    file.close();
    QVERIFY(!form_->OpenGame(path));
    QTRY_VERIFY(form_->fileErrorBox() != nullptr && form_->fileErrorBox()->isVisible());
    QVERIFY(form_->fileErrorBox()->text().contains(path));
    QVERIFY(form_->fileErrorBox()->informativeText().contains("cut short"));
    QCOMPARE(StateHash(form_->session()), played);
    // A reason with markup in it is shown as text, never as rich text.
    QVERIFY(!form_->JoinNetwork("<img src=\"file:///etc/passwd\"> <b>bold</b>", "x"));
    int shown = 0;
    for (QLabel* label : form_->fileErrorBox()->findChildren<QLabel*>()) {
      if (!label->text().contains("<b>")) continue;
      ++shown;
      QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    QCOMPARE(shown, 1);
  }

  // --record at start: never over the saved game just opened; a recording
  // already there is replaced only when the player says so.
  void recordingFromStartAsksFirst() {
    const QTemporaryDir folder;
    const QString save = folder.filePath("game.save");
    QVERIFY(form_->SaveGame(save));
    QFile saved(save);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();
    form_->RecordFromStart(save, save);
    QVERIFY(!form_->recording());
    QTRY_VERIFY(form_->fileErrorBox() != nullptr && form_->fileErrorBox()->isVisible());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), before);
    saved.close();
    form_->fileErrorBox()->close();

    const QString path = folder.filePath("old.sim");
    QVERIFY(form_->StartRecording(path));
    form_->StopRecording();
    form_->RecordFromStart(path, QString());
    QVERIFY(!form_->recording());
    QTRY_VERIFY(form_->replaceBox() != nullptr && form_->replaceBox()->isVisible());
    QTest::mouseClick(form_->replaceBox()->button(QMessageBox::No), Qt::LeftButton);
    QVERIFY(!form_->recording());
    form_->RecordFromStart(path, QString());
    QTRY_VERIFY(form_->replaceBox() != nullptr && form_->replaceBox()->isVisible());
    QTest::mouseClick(form_->replaceBox()->button(QMessageBox::Yes), Qt::LeftButton);
    QVERIFY(form_->recording());
    form_->StopRecording();
  }

  // How fast the window runs under this display; printed, not asserted on.
  void frameStepsOverTwoSeconds() {
    const int64_t before = form_->frameSteps();
    const std::clock_t cpuBefore = std::clock();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(2000);
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    const double cpu = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    const int64_t steps = form_->frameSteps() - before;
    std::printf("frame steps: %lld in %.2f s (%.0f per second), CPU %.0f %% of one core\n",
                static_cast<long long>(steps), seconds, static_cast<double>(steps) / seconds,
                100 * cpu / seconds);
    QVERIFY(steps > 0);
  }
};

}  // namespace kragmoor

int main(int argc, char** argv) {
  const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                       qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                       qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
  if (!display) {
    std::puts("SKIP: no display; run under xvfb-run");
    return 77;
  }
  // Ten hours east of UTC, with no daylight saving: see seedIsTheUtcTimeOfDay.
  setenv("TZ", "KRG-10", 1);
  tzset();
  QStandardPaths::setTestModeEnabled(true);  // the language choice goes to a test folder
  QApplication app(argc, argv);
  // CTest runs the test functions side by side, one process each: every
  // process keeps its preferences (language, start choice) in a folder of
  // its own, so one test's saved choice never reaches another's window.
  const QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  kragmoor::Form1Test test;
  return QTest::qExec(&test, argc, argv);
}

#include "form1_test.moc"
