// The history's readers from any bytes: a log file's name and lines,
// history_server.txt and its address, history_view.txt. What is written of
// them reads back the same, and a log file's hits never end a day before
// they start.
#include "FuzzInput.h"
#include "history/HistoryServer.h"
#include "history/HistoryView.h"
#include "history/LogImport.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> pieces = fuzz::Pieces(data, size);

    std::string problem;
    const std::optional<LogFileStamp> named = ParseLogFileName(pieces[0], &problem);
    fuzz::Require(!(named && !problem.empty()));
    const LogFileStamp stamp = named.value_or(*ParseLogFileName("11-01-2026_12-30-00-AM.txt"));
    const LogFileHits file = ParseLogFile(bytes, stamp);
    for (const LoggedHit& hit : file.Hits) {
        fuzz::Require(hit.Occurrence >= 1);
        fuzz::Require(DaysFromCivil(hit.End.Year, hit.End.Month, hit.End.Day) >=
                      DaysFromCivil(hit.Start.Year, hit.Start.Month, hit.Start.Day));
        fuzz::Require(hit.Start.Day >= 1 && hit.Start.Day <= DaysInMonth(hit.Start.Year, hit.Start.Month));
    }

    if (const auto address = ParseServerUrl(pieces[0], nullptr)) {
        fuzz::Require(!ConnectOptions(*address).empty());
        fuzz::Require(!ServerName(*address).empty());
    }
    if (const auto server = ReadHistoryServerFile(bytes, "station", nullptr)) {
        fuzz::Require(ReadHistoryServerFile(WriteHistoryServerFile(*server), "other", nullptr) == server);
    }

    const HistoryViewSettings view = ReadHistoryViewSettings(bytes);
    fuzz::Require(ReadHistoryViewSettings(WriteHistoryViewSettings(view)) == view);
    return 0;
}
