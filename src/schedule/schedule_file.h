#pragma once
// Schedule files and variable-rate list files.
//
// A schedule file is mdsPaySet written by the delimited-text export: one
// comma-separated line per payment group (SetSize, Sequence, PaySize,
// PriorPds, AddDays), each ended by a carriage return and a line feed, after
// one header line with Sequence 0 that carries what the groups alone do not:
// the item of the common interval in SetSize (0 Annually ... 4 Weekly) and
// the amount financed in PaySize. A variable-rate list file is mdsVariable
// the same way (GrpID, GrpSize, Rate, Payment, Interval, AddDays), its header
// having GrpID 0, the interval item in GrpSize and the contract principal in
// Payment:
//
//     1,0,1000,0,0          0,1,0,5000,0,0
//     1,1,95,1,15           12,1,8.5,450,1,0
//     10,2,88.85,1,0
//     1,3,88.91,1,0
//
// Saving leaves the table's groups as they are (a pending group is stored
// first, as before any export): the header and the groups are copied into a
// table of their own, which is exported to a temporary file beside the
// target that replaces it only once complete. Loading reads and checks the
// whole file first and replaces the groups only when it could be read; a
// file that cannot be read, or whose header or amounts the program cannot
// work with, leaves the table and the loan state as they were.
//
// Group keys of 0 or below (the editor grid lets them be typed) never cost
// a group: the header is always written as the first line and the groups
// follow in key order whatever their keys, and on loading the header is the
// first line with key 0; every other line, whatever its key, is a group and
// is loaded unchanged.
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_save.h"
#include "base/format.h"
#include "base/user_port.h"
#include "core/apr_engine.h"
#include "core/interval.h"
#include "core/loan_state.h"
#include "core/pay_group.h"

namespace qv {

class TMemDataSet;

// --- texts of the schedule commands --------------------------------------

inline constexpr std::string_view kProposedScheduleFileName = "myPaySet.txt";
inline constexpr std::string_view kScheduleFileExtension = "txt";
inline constexpr std::string_view kNoScheduleToSave = "No Payment Schedule to Save!";
inline constexpr std::string_view kSaveScheduleTitle = "Saving latest Payset";
inline constexpr std::string_view kScheduleNotSaved = "OK, Payment Schedule Not Saved";
inline constexpr std::string_view kLoadScheduleTitle = "Select <Payset>.txt to load";
inline constexpr std::string_view kSaveCurrentScheduleQuestion = "Save the current Payment Set?";
inline constexpr std::string_view kScheduleLacksHeader =
    "DataSet lacks Amt.Fin. and Common Interval";
inline constexpr std::string_view kNoAprAfterLoad =
    "No APR computed, as data inconsistency detected";

// --- texts of the variable-rate list commands ----------------------------

inline constexpr std::string_view kNoVariableToSave = "No Variable Payment Schedule to Save!";
inline constexpr std::string_view kSaveVariableTitle = "Saving latest Variable Payset";
inline constexpr std::string_view kVariableNotSaved =
    "OK, This Variable Payment Schedule Not Saved";
inline constexpr std::string_view kLoadVariableTitle = "Select <Variable Payset>.txt to load";
inline constexpr std::string_view kSaveCurrentVariableQuestion =
    "Save the current Variable Payment Set?";
inline constexpr std::string_view kVariableHeaderMissing = "Variable Payment Set Header Missing!";

// --- limits ----------------------------------------------------------------

// A group line is a few dozen characters and a schedule of 10,000 groups
// about 250 KB; anything longer or larger is not a schedule or list file and
// is refused unread rather than read without bound.
inline constexpr std::size_t kMaxScheduleLineLength = 1024;
inline constexpr std::int64_t kMaxScheduleFileSize = 2 * 1024 * 1024;

// --- saving ----------------------------------------------------------------

// What the header line carries: the common interval (stored as its item
// number) and the amount financed (schedules) or the contract principal
// (variable-rate lists).
struct ScheduleHeader {
    Interval interval = kStartInterval;
    double amount = 0.0;
};

// True when the table holds no group to save: no stored record and no
// pending one with a value in it.
bool NothingToSave(const TMemDataSet& table);

// Writes the header and the groups of mdsPaySet (in Sequence order) to
// `file`. A pending group is stored first; if the table refuses it, nothing
// is written. The table keeps its groups and its cursor; on failure the old
// file is untouched and `error` says why ("Cannot save ...").
FileSaveResult SaveData(TMemDataSet& paySet, const ScheduleHeader& header,
                        const std::filesystem::path& file);
// The same for mdsVariable (in GrpID order).
FileSaveResult SaveVarData(TMemDataSet& variable, const ScheduleHeader& header,
                           const std::filesystem::path& file);

// butSaveClick and the "Save List" command after their dialogs: ask before
// overwriting an existing file, save, and show a failure as a warning.
SaveOutcome SaveScheduleAsked(const std::filesystem::path& file, TMemDataSet& paySet,
                              const ScheduleHeader& header, UserPort& port);
SaveOutcome SaveVarListAsked(const std::filesystem::path& file, TMemDataSet& variable,
                             const ScheduleHeader& header, UserPort& port);

// --- loading a schedule ----------------------------------------------------

// The texts of one end of the regular page's schedule: the payment (fixed,
// 2 decimals, "." as the decimal point as the entry checks want it), whole
// periods and extra days. All box texts of a load are written that way.
struct RegularEndTexts {
    std::string pay;
    std::string pds;
    std::string extra;
    bool operator==(const RegularEndTexts&) const = default;
};

// What a schedule load did and what the pages must show.
struct ScheduleLoad {
    // The file was read and its groups replaced those of the table. When
    // false, nothing changed (messages say why) and the load command stops.
    bool loaded = false;
    // No header line: the groups were loaded, but the amount financed, the
    // interval, the counts and every box below keep what they had.
    bool headerMissing = false;

    // With a header: the interval for rgpBasePd and rgpSimpInterval, and the
    // texts of edAmtFin, edTotPay and edPayCount.
    Interval interval = kStartInterval;
    std::string edAmtFin;
    std::string edTotPay;
    std::string edPayCount;
    // The regular page: the first-payment boxes (edSimp1stPay, edSimp1stNoPd,
    // edSimp1stExtra) when there is a group, the last-payment boxes
    // (edSimpLastPay, edSimpLastNoPd, edSimpLastExtra) when there are two or
    // more; boxes not given keep their texts.
    std::optional<RegularEndTexts> first;
    std::optional<RegularEndTexts> last;
    std::string edSimpRegPay;
    std::string edSimpAmtFin;
    std::string edSimpInnerNoPay;

    // To show after the boxes are written, in order: kScheduleLacksHeader
    // (information), a warning naming the lines that could not be read in
    // full, or, when nothing was loaded, a warning saying why.
    std::vector<RecordedMessage> messages;
};

// LoadData: reads `file` and, when it can be used, replaces the groups of
// mdsPaySet with its groups (the cursor on the first) and, with a header,
// sets AmtFin, PayCount, TotPay, RegPay, FirstPay, FirstPds, FirstExtra,
// LastPay, LastPds, LastExtra (the last three only with two groups or more)
// and sets IrregularLoaded when the groups are not a regular schedule (it is
// never cleared here). Refused, with the table and state unchanged: a file
// that cannot be opened or read, a line longer than kMaxScheduleLineLength,
// a file larger than kMaxScheduleFileSize, a file without any group or
// header, a header interval outside 0..4, an amount financed below 0 or
// beyond the currency range, a payment beyond that range, and groups whose
// payments add up beyond 2,147,483,647 payments or beyond the currency range.
ScheduleLoad LoadData(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                      const std::filesystem::path& file);
// The same from an open stream of `size` bytes (0 when not known); `name`
// stands for the file in messages.
ScheduleLoad LoadDataFromStream(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                std::istream& in, std::int64_t size, const std::string& name);
// The same for a schedule given as values rather than as a file (a line of
// a batch of loans): the header and the groups (taken in Sequence order)
// are checked, refused and taken exactly as the lines of a file would be.
// `name` stands for the schedule in messages.
ScheduleLoad LoadSchedule(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                          const ScheduleHeader& header, std::vector<PayGroup> groups,
                          const std::string& name);

// Whether a load writes the texts of the pages' boxes into its ScheduleLoad.
enum class BoxTexts { Written, Left };

// LoadSchedule for a caller that shows no boxes (the command-line batch):
// the table, the loan state, the interval and the messages are exactly
// LoadSchedule's, but the box texts are left empty, and groups already in
// Sequence order are taken without a copy.
ScheduleLoad LoadScheduleValues(LoanTerms& loan, RegularInputs& regular, TMemDataSet& paySet,
                                const ScheduleHeader& header, const std::vector<PayGroup>& groups,
                                const std::string& name);

// The message that ends the load command, after the APR estimate:
// "APR is 12.683 %, see Tab 4" when the estimate computed a rate, else
// kNoAprAfterLoad. `outcome` is empty when the estimate stopped before the
// engine ran (the schedule's own checks refused it). The outcome decides,
// not the APR box: a computed rate of exactly 20 is a rate like any other.
std::string LoadedAprMessage(std::optional<AprOutcome> outcome, double APR,
                             const FormatSettings& fs = FormatSettings{});

// --- loading a variable-rate list ------------------------------------------

struct VarListLoad {
    bool loaded = false;  // as ScheduleLoad::loaded
    // No header line (kVariableHeaderMissing is among the messages): the
    // groups were loaded; the principal and interval keep what they had.
    bool headerMissing = false;
    // With a header: the interval for rgpVary, ContractPrincipal and the text
    // of ebxPrincipal.
    Interval interval = kStartInterval;
    double ContractPrincipal = 0.0;
    std::string ebxPrincipal;
    // The groups loaded (with or without a header): the number of payments,
    // their total in dollars and the summary labVary14 shows.
    std::int64_t count = 0;
    double sum = 0.0;
    std::string labVary14;
    std::vector<RecordedMessage> messages;
};

// LoadVarData: reads `file` and, when it can be used, replaces the groups of
// mdsVariable (the cursor on the first); refused as LoadData refuses, the
// amount checked being the principal and each group's Payment.
VarListLoad LoadVarData(TMemDataSet& variable, const std::filesystem::path& file,
                        const FormatSettings& fs = FormatSettings{});
VarListLoad LoadVarDataFromStream(TMemDataSet& variable, std::istream& in, std::int64_t size,
                                  const std::string& name,
                                  const FormatSettings& fs = FormatSettings{});

}  // namespace qv
