#pragma once
// tabMax: figure the common payment of a regular schedule at a known rate.
#include "app/pages/page.h"

class FigurePage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabMax;
    explicit FigurePage(Session& app);

    void ResetControls() override;

  private:
    QLineEdit* edMaxRate_;
};
