#pragma once
// A captioned group of radio buttons with an item index, laid out in columns.
// The caption is a label that wraps inside the frame: the captions of these
// groups are whole instructions, wider than the group's buttons.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QLabel;
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
    QString Caption() const;
    void SetCaption(const QString& caption);

  signals:
    // The user or the program checked another item.
    void ItemIndexChanged(int index);

  private:
    void TabToCheckedItem();

    QButtonGroup* group_;
    QLabel* caption_;
};
