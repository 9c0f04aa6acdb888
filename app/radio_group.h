// A captioned group of radio buttons whose chosen item is an index, as the
// click-mode and build groups of the main window use it.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QString>
#include <QStringList>
#include <functional>

namespace kragmoor {

class TRadioGroup final : public QGroupBox {
 public:
  // One radio button per item, top to bottom, item `itemIndex` chosen.
  TRadioGroup(const QString& caption, const QStringList& items, int itemIndex, QWidget* parent);

  // The chosen item, 0 for the first; -1 when none is chosen.
  int itemIndex() const { return buttons_.checkedId(); }
  void setItemIndex(int index);

  // The items' captions, in order.
  QStringList items() const;

  // The radio button of item `index`. REQUIRES: 0 <= index < items().size().
  QAbstractButton* button(int index) const { return buttons_.button(index); }

  // Called with the item each time one becomes the chosen one.
  std::function<void(int)> onChosen;

 private:
  QButtonGroup buttons_;
};

}  // namespace kragmoor
