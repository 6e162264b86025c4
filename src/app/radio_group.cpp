#include "app/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(parent), group_(new QButtonGroup(this)), caption_(new QLabel(this)) {
    auto* column = new QVBoxLayout(this);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setWordWrap(true);
    column->addWidget(caption_);
    SetCaption(caption);
    auto* grid = new QGridLayout;
    column->addLayout(grid);
    const int perColumn = columns > 0 ? (int(items.size()) + columns - 1) / columns : 1;
    for (int i = 0; i < int(items.size()); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        // Items fill the columns top to bottom, left to right.
        grid->addWidget(button, perColumn > 0 ? i % perColumn : i,
                        perColumn > 0 ? i / perColumn : 0);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked) return;
        TabToCheckedItem();
        emit ItemIndexChanged(id);
    });
    TabToCheckedItem();
}

void RadioGroup::TabToCheckedItem() {
    // Tab stops at one item of the group, the checked one (the first while
    // none is), as in any radio group; the arrow keys move among the items.
    QAbstractButton* stop = group_->checkedButton();
    if (stop == nullptr && !group_->buttons().isEmpty()) stop = group_->buttons().constFirst();
    for (QAbstractButton* button : group_->buttons())
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

int RadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = group_->checkedButton()) {
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
        TabToCheckedItem();
    }
}

QString RadioGroup::Caption() const {
    return caption_->text();
}

void RadioGroup::SetCaption(const QString& caption) {
    caption_->setText(caption);
    setAccessibleName(caption);
}

int RadioGroup::Count() const {
    return int(group_->buttons().size());
}

QRadioButton* RadioGroup::Item(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}
