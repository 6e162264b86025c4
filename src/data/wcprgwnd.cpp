#include "data/wcprgwnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "base/format.h"

namespace qv {
namespace {

// Kilobytes and rates: "###,##0.0".
std::string Kilo(double value) {
    return FloatToStrF(value, FloatStyle::Number, 18, 1);
}

std::string KiloOf(std::int64_t bytes) {
    return Kilo(static_cast<double>(bytes) / 1024.0);
}

// "hh:nn:ss" of whole seconds; the hours go on counting past a day.
std::string ClockText(std::int64_t seconds) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return buf;
}

const char* const kRemaining = " remaining";

}  // namespace

ProgressWindowTexts::ProgressWindowTexts(ProgressClock clock) : clock_(std::move(clock)) {}

void ProgressWindowTexts::Start(ProgressKind kind, ProgressBasis basis, std::int64_t totalBytes,
                                std::int64_t totalRecords, const std::string& fileName) {
    kind_ = kind;
    basis_ = basis;
    totalBytes_ = std::max<std::int64_t>(0, totalBytes);
    totalRecords_ = std::max<std::int64_t>(0, totalRecords);
    started_ = clock_();
    file_ = fileName;
    records_ = "0 of " + std::to_string(totalRecords_);
    time_ = std::string("00:00:00") + kRemaining;
    if (kind == ProgressKind::Import) {
        caption_ = "Import Progress";
        bytes_ = "0K of " + KiloOf(totalBytes_) + "K read";
    } else {
        caption_ = "Export Progress";
        bytes_ = "0K written";
    }
    percentage_ = "0%";
    barMax_ = basis == ProgressBasis::Records ? totalRecords_ : totalBytes_;
    barPos_ = 0;
}

void ProgressWindowTexts::Update(std::int64_t recordsDone, std::int64_t bytesDone) {
    using std::chrono::duration_cast;
    using std::chrono::seconds;
    const std::int64_t elapsed =
        std::max<std::int64_t>(1, duration_cast<seconds>(clock_() - started_).count());
    const std::string rate =
        Kilo(static_cast<double>(bytesDone) / 1024.0 / static_cast<double>(elapsed));

    if (kind_ == ProgressKind::Import) {
        records_ = std::to_string(recordsDone) + " records";
        bytes_ = KiloOf(bytesDone) + "K of " + KiloOf(totalBytes_) + "K read (" + rate + "K/s)";
    } else {
        records_ =
            std::to_string(recordsDone) + " of " + std::to_string(totalRecords_) + " records";
        bytes_ = KiloOf(bytesDone) + "K written (" + rate + "K/s)";
    }

    const std::int64_t done = basis_ == ProgressBasis::Records ? recordsDone : bytesDone;
    barPos_ = done;
    if (barMax_ <= 0) return;  // no percentage of nothing; see the class comment

    // A file that grows while it is read can pass the size noted at the
    // start: the percentage stops at 100.
    const double p =
        std::clamp(static_cast<double>(done) / (static_cast<double>(barMax_) * 0.01), 0.0, 100.0);
    if (done <= 0) {
        time_ = std::string("00:00:00") + kRemaining;
    } else {
        const double left = static_cast<double>(elapsed) / p * (100.0 - p);
        time_ = ClockText(static_cast<std::int64_t>(left)) + kRemaining;
    }
    percentage_ = FloatToStrF(p, FloatStyle::Fixed, 18, 0) + "%";
}

std::optional<double> ProgressWindowTexts::Fraction() const {
    if (barMax_ <= 0) return std::nullopt;
    return std::clamp(static_cast<double>(barPos_) / static_cast<double>(barMax_), 0.0, 1.0);
}

}  // namespace qv
