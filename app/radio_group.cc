// The radio group control.
#include "app/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace kragmoor {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int itemIndex,
                         QWidget* parent)
    : QGroupBox(caption, parent), buttons_(this) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 2, 8, 2);
  layout->setSpacing(0);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_.addButton(button, i);
    layout->addWidget(button);
  }
  setItemIndex(itemIndex);
  connect(&buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked && onChosen) onChosen(id);
  });
}

void TRadioGroup::setItemIndex(int index) {
  if (QAbstractButton* b = buttons_.button(index)) b->setChecked(true);
}

QStringList TRadioGroup::items() const {
  QStringList captions;
  for (int i = 0; buttons_.button(i) != nullptr; ++i) captions << buttons_.button(i)->text();
  return captions;
}

}  // namespace kragmoor
