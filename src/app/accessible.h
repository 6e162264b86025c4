#pragma once
// What a screen reader and a keyboard-only user need from the pages, in one
// place: labels tied to their boxes, names for boxes without a label of their
// own, results spoken as they appear, an Alt+letter on every control, text
// colours that stay legible and a focus ring that can be seen.
#include <QColor>
#include <QFocusFrame>
#include <QString>

class QAbstractButton;
class QPalette;
class QLabel;
class QStyle;
class QTabBar;
class QWidget;

// Ties a visible label to the control it names: a screen reader takes the
// label's words for the control's name, and the label's Alt+letter (given by
// AssignMnemonics) moves the focus into the control.
void TieLabel(QLabel* label, QWidget* control);

// Names a control that has no one label beside it, in the page's words. The
// description is read after the name; given, it replaces the balloon hint
// there (a hint that does not describe the control would mislead).
void NameControl(QWidget* control, const QString& name, const QString& description = {});

// Tells a screen reader about a result just written into `shownIn`, without
// moving the focus: the control that has the focus (the button just pressed)
// carries `spoken` as its description until the focus leaves it, and
// screen readers speak a change to the focused control's description.
void AnnounceResult(QWidget* shownIn, const QString& spoken);

// Gives every button, check box and radio item of `page`, and every label
// tied to a box, an Alt+letter of its own, none of them one of `taken` (the
// menu bar's letters). Captions keep their text: buttons show the underline
// through MnemonicStyle, labels by an ampersand in their text. An Alt+letter
// moves the focus to its button before pressing it, as a click does, so the
// box left is taken first; a box that refuses to be left keeps the focus
// and the button is not pressed.
void AssignMnemonics(QWidget* page, const QString& taken);

// The letter AssignMnemonics gave a button, a null QChar when none.
QChar MnemonicOf(const QAbstractButton* button);

// A screen reader is shown only the tabs of `strip` that are visible, each
// with its caption and whether it is the current one.
void ShowOnlyVisibleTabs(QTabBar* strip);

// Draws the underline of the Alt+letters AssignMnemonics gave buttons, and
// keeps a lone Alt from taking the focus to the menu bar; the program sets it
// once, over the platform's style.
QStyle* MnemonicStyle();

// The contrast ratio of two colours as accessibility guidelines define it,
// from 1 (equal luminance) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Colours the page's emphasised texts: warnings red, summaries blue, each the
// shade nearest the plain one that still reads at 4.5:1 on the control's own
// background, so a dark colour scheme keeps them legible too. Verdicts read
// green when accurate and amber when they sit at the edge of the tolerance.
enum class TextTone { Warning, Summary, Good, Caution };
void SetTextTone(QWidget* control, TextTone tone, bool bold = false);

// The colour focus is shown in: the scheme's highlight, darkened or
// lightened until it stands out 3:1 from the window's background.
QColor FocusColour(const QPalette& palette);

// A ring two pixels wide around whichever control of `window` has the focus
// (boxes, buttons, radio items, the tab strip, grids empty or not), in the
// scheme's highlight colour darkened or lightened until it stands out 3:1
// from the window's background.
class FocusRing : public QFocusFrame {
    Q_OBJECT
  public:
    explicit FocusRing(QWidget* window);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Follow(QWidget* now);

    QWidget* window_;
};
