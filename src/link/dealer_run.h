#pragma once
// Dealer mode: the open document written into one radio after another.
// Each radio's turn is a WriteJob that reads the dealer information first
// (for the serial number) and checks the write when asked to; a radio that
// does not answer ends its turn at once instead of asking. Every turn adds a
// row to the running list: the radio's number in the run, the time of its
// last attempt, its serial number and the result. A failed radio stays in
// the list, marked, and can be tried again (its row is updated), and the
// list goes on with the next radio whatever happened.
//
//     DealerRun run(session, port, timers);    // route port and timers to run.engine()
//     run.next([](std::size_t row) { ... run.rows()[row] ... });

#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/write_job.h"
#include "shell/result.h"

namespace zr::link {

struct DealerRow {
    int radio = 0;             // 1, 2, ... in the order the radios came
    std::string time;          // "2024-05-06 13:45:02", local time of the last attempt
    std::string serialNo;      // from the radio's dealer information
    bool ok = false;
    std::string result;        // "written", "written and checked", or why not
    int attempts = 0;
};

class DealerRun {
public:
    using Done = std::function<void(std::size_t row)>;

    DealerRun(Session& session, LinkPort& port, LinkTimers& timers);
    ~DealerRun();

    TransferEngine& engine();
    void setProgress(TransferObserver* o);
    void setVerify(bool on) { verify_ = on; }
    // The clock of the rows' times (tests); std::time by default.
    void setClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

    // The turn of the next radio: a new row. `done` is called once when the
    // turn ended; at once when it could not start (the row then says why).
    // Returns the row's index.
    std::size_t next(Done done);
    // Another attempt for the radio of row `row` (normally a failed one);
    // false when a turn is running or there is no such row.
    bool retry(std::size_t row, Done done);
    bool running() const;

    const std::vector<DealerRow>& rows() const { return rows_; }

private:
    void attempt(std::size_t row, Done done);

    std::unique_ptr<WriteJob> job_;
    bool verify_ = false;
    std::function<std::time_t()> clock_;
    std::vector<DealerRow> rows_;
};

// The list as CSV: a header line, then one line per row, fields with a
// comma, quote or line break quoted; lines end in "\r\n".
std::string DealerLogCsv(const std::vector<DealerRow>& rows);

// Writes the list as CSV to `path` through the one atomic file replace.
Result SaveDealerLog(const std::string& path, const std::vector<DealerRow>& rows);

// The result column of the list: "OK: written", "FAILED: why", or
// "running" while the radio's turn runs.
std::string DealerRowResultText(const DealerRow& row);

// "YYYY-MM-DD HH:MM:SS" of a time in local time.
std::string LocalTimeText(std::time_t t);

}  // namespace zr::link
