// The main window's Help menu: the keys, how to play, and the rules a player
// needs, their numbers taken from the game's rule constants so they cannot drift.
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/form1.h"
#include "world/rules.h"

namespace kragmoor {

void TForm1::CreateHelpMenu() {
  QMenu* menu = menuBar()->addMenu(QString());
  menu->setObjectName("HelpMenu");
  captions_.Add(QT_TR_NOOP("Справка"), [menu](const QString& t) { menu->setTitle(t); });
  AddAction(menu, QT_TR_NOOP("Клавиши и как играть"), QKeySequence(Qt::Key_F1), [this] {
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("KRAGMOOR"),
        tr("Как играть: ваши стороны те, у которых снят флажок AI. Добывайте золото "
           "крестьянами, обучайте новых на главной базе, стройте базы и уничтожьте "
           "противников.\n\n"
           "Мышь: левая кнопка — действие по клику; протяжка — выбрать рамкой (Shift — "
           "добавить); правая кнопка — приказ выбранным (атака, идти, добывать); средняя "
           "кнопка — двигать вид; карта — перенести вид.\n\n"
           "Клавиши: Ctrl+A — выбрать всех своих; Ctrl+1…9 — запомнить группу; 1…9 — "
           "выбрать группу, ещё раз — показать её; P — обучить крестьянина; B, затем "
           "щелчок — построить базу; точка — следующий свободный крестьянин; пробел — "
           "пауза; + и − — скорость; Home — к своей главной базе; стрелки — сдвиг вида.\n\n"
           "Приказы группе: в режимах «Идти», «Атаковать» и «Строить» щелчок даёт приказ "
           "каждому своему выбранному; к шахте группа расходится по ближайшим шахтам, "
           "где есть место.") +
            "\n\n" + RulesText(),
        QMessageBox::Ok, this);
    box->setObjectName("HelpBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  });
}

QString TForm1::RulesText() const {
  const auto n = [](double value) { return QString::number(value); };
  return tr("Правила (100 кадров в секунду):") + '\n' +
         tr("• Враги ближе %1 единиц поля (клетка — %2) нападают друг на друга сами; "
            "сражаются и крестьяне, и главные базы.")
             .arg(n(kAttackRange), n(kCellSize)) +
         '\n' + tr("• Урон: %1 здоровья за кадр от каждого атакующего.").arg(n(kDamage)) + '\n' +
         tr("• Здоровье: крестьянин %1, главная база %2, золотая шахта %3.")
             .arg(n(kPeasantHp), n(kBaseHp), n(kMineHp)) +
         '\n' +
         tr("• Цена: крестьянин %1 золота, главная база %2; платит казна стороны.")
             .arg(n(kPeasantCost), n(kBaseCost)) +
         '\n' +
         tr("• Золото: крестьянин у шахты берёт по %1 за кадр, за ходку до %2 (до %3, если "
            "номер крестьянина больше номера шахты), и сдаёт его на своей главной базе; шахта "
            "даёт, пока в ней не меньше %4.")
             .arg(n(kLoadStep), n(kLoadLimitLower), n(kLoadLimitHigher), n(kMinimumStock)) +
         '\n' +
         tr("• Ремонт: золото, сданное на повреждённую базу, чинит её, %1 здоровья за единицу "
            "золота, и в казну не идёт.")
             .arg(n(kRepairPerGold));
}

}  // namespace kragmoor
