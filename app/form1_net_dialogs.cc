// The Game menu's network dialogs: hosting (each side, the port, what a
// dropped seat does) and joining (the address, a seat's code or watching).
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>

#include "app/form1.h"

namespace kragmoor {

namespace {

QDialogButtonBox* Buttons(QDialog* dialog, QFormLayout* form) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("NetworkOkButton");
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  form->addRow(buttons);
  return buttons;
}

// The name the other players see: printable ASCII, as the network carries it.
QLineEdit* NameField(QDialog* dialog, QFormLayout* form, const QString& name) {
  auto* field = new QLineEdit(name, dialog);
  field->setObjectName("NetworkName");
  field->setMaxLength(static_cast<int>(net::kMaxNameBytes));
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[\\x20-\\x21\\x23-\\x7e]*")), field));
  form->addRow(QObject::tr("Имя"), field);
  return field;
}

}  // namespace

void TForm1::AskHostNetwork() {
  auto* dialog = new QDialog(this);
  dialog->setObjectName("HostDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(tr("Создать сетевую игру"));
  auto* form = new QFormLayout(dialog);
  // Each side: this window, an open seat, the computer player at a level,
  // nobody, or (typed in) a bot command.
  const QStringList kinds = {"me", "player", "ai:1", "ai:2", "ai:3", "none"};
  const std::array<const char*, kSideCount> initial = {"me", "player", "ai:2"};
  std::array<QComboBox*, kSideCount> sides{};
  for (int s = 0; s < kSideCount; ++s) {
    sides[s] = new QComboBox(dialog);
    sides[s]->setObjectName(QStringLiteral("HostSide%1").arg(s + 1));
    sides[s]->setEditable(true);
    sides[s]->addItems(kinds);
    sides[s]->setCurrentText(QString::fromLatin1(initial[s]));
    form->addRow(tr("Сторона %1").arg(s + 1), sides[s]);
  }
  auto* port = new QSpinBox(dialog);
  port->setObjectName("HostPort");
  port->setRange(0, 65535);
  port->setValue(net::kDefaultPort);
  form->addRow(tr("Порт"), port);
  auto* dropped = new QComboBox(dialog);
  dropped->setObjectName("HostDropped");
  dropped->addItems({"ai:2", "ai:1", "ai:3", "none", "pause"});
  form->addRow(tr("Выбывшее место"), dropped);
  QLineEdit* name = NameField(dialog, form, networkName());
  Buttons(dialog, form);
  connect(dialog, &QDialog::accepted, this, [this, sides, port, dropped, name] {
    SetNetworkName(name->text().trimmed(), true);
    net::HostPlan plan;
    for (int s = 0; s < kSideCount; ++s) plan.sides[s] = sides[s]->currentText().toStdString();
    plan.port = static_cast<uint16_t>(port->value());
    net::ParseDroppedPlay(dropped->currentText().toStdString(), plan.referee.dropped);
    plan.referee.seed = SeedNow();
    plan.referee.timing.seed = plan.referee.seed;
    HostNetwork(plan);
  });
  networkDialog_ = dialog;
  dialog->open();
}

void TForm1::AskJoinNetwork() {
  auto* dialog = new QDialog(this);
  dialog->setObjectName("JoinDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(tr("Присоединиться к сетевой игре"));
  auto* form = new QFormLayout(dialog);
  auto* address = new QLineEdit(dialog);
  address->setObjectName("JoinAddress");
  address->setPlaceholderText(QStringLiteral("HOST:%1").arg(net::kDefaultPort));
  form->addRow(tr("Адрес"), address);
  auto* code = new QLineEdit(dialog);
  code->setObjectName("JoinCode");
  form->addRow(tr("Код места"), code);
  auto* watch = new QCheckBox(tr("Только смотреть"), dialog);
  watch->setObjectName("JoinWatch");
  connect(watch, &QCheckBox::toggled, code, &QLineEdit::setDisabled);
  form->addRow(watch);
  QLineEdit* name = NameField(dialog, form, networkName());
  Buttons(dialog, form);
  connect(dialog, &QDialog::accepted, this, [this, address, code, watch, name] {
    SetNetworkName(name->text().trimmed(), true);
    JoinNetwork(address->text().trimmed(), watch->isChecked() ? QString() : code->text().trimmed());
  });
  networkDialog_ = dialog;
  dialog->open();
}

}  // namespace kragmoor
