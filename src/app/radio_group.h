#pragma once
// A captioned group of radio buttons with an item index, laid out in columns.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& caption, const QStringList& items, int columns,
               QWidget* parent = nullptr);

    // Index of the checked item, -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const;
    QRadioButton* Item(int index) const;

  signals:
    // The user or the program checked another item.
    void ItemIndexChanged(int index);

  private:
    QButtonGroup* group_;
};
