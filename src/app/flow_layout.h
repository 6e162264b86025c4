#pragma once
// Lays widgets out left to right like words of a sentence, starting a new
// line when the next one does not fit. The pages' rows of "box, caption, box,
// caption" use it, so they stay readable in a narrow window or a large font.
#include <QLayout>
#include <QList>

class FlowLayout : public QLayout {
  public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Places the items within `rect` (only measures when `apply` is false)
    // and returns the height used.
    int Arrange(const QRect& rect, bool apply) const;
    int HorizontalGap() const;
    int VerticalGap() const;

    QList<QLayoutItem*> items_;
};
