#pragma once
// The pages' interval groups speak item numbers; the engine speaks
// qv::Interval. These are the only crossings between the two.
#include <QStringList>
#include <optional>
#include <string_view>

#include "app/qt_text.h"
#include "app/radio_group.h"
#include "core/interval.h"

// The items of an interval group in a page's own wording, in item order.
inline QStringList IntervalCaptions(std::string_view qv::IntervalInfo::*caption) {
    QStringList items;
    for (const qv::IntervalInfo& info : qv::kIntervals) items << Q(info.*caption);
    return items;
}

// The interval a group shows; nothing while no item is checked.
inline std::optional<qv::Interval> ChosenInterval(const RadioGroup& group) {
    return qv::IntervalOfItem(group.ItemIndex());
}

inline void ShowInterval(RadioGroup& group, qv::Interval interval) {
    group.SetItemIndex(qv::ItemOf(interval));
}
