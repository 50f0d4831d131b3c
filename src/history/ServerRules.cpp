#include "history/ServerRules.h"
#include "base/AsciiCase.h"

#include <algorithm>
#include <cctype>

namespace quorvane {
namespace {

bool Has(const std::string& text, std::string_view what) { return text.find(what) != std::string::npos; }

}  // namespace

ServerProblem ClassifyServerError(std::string_view sqlState, std::string_view message) {
    if (!sqlState.empty()) {
        const std::string_view kind = sqlState.substr(0, 2);
        if (sqlState == "28P01") return ServerProblem::WrongPassword;
        if (kind == "28") return ServerProblem::Denied;
        if (sqlState == "3D000") return ServerProblem::NoDatabase;
        if (sqlState == "42501") return ServerProblem::Denied;
        if (kind == "22" || kind == "23") return ServerProblem::HitRefused;
        // Connection lost, server shutting down or starting, too many
        // clients, a transaction that lost a race: all pass.
        if (kind == "08" || kind == "57" || kind == "53" || kind == "40") return ServerProblem::Away;
        return ServerProblem::Other;
    }
    // A connection that failed carries libpq's words only.
    const std::string text = LowerAscii(message);
    if (Has(text, "password authentication failed") || Has(text, "no password supplied") ||
        Has(text, "sasl authentication failed")) {
        return ServerProblem::WrongPassword;
    }
    if (Has(text, "database \"") && Has(text, "does not exist")) return ServerProblem::NoDatabase;
    if ((Has(text, "role \"") && Has(text, "does not exist")) || Has(text, "no pg_hba.conf entry") ||
        Has(text, "permission denied") || Has(text, "not permitted to log in")) {
        return ServerProblem::Denied;
    }
    if (Has(text, "could not translate host name") || Has(text, "name or service not known") ||
        Has(text, "temporary failure in name resolution")) {
        return ServerProblem::UnknownHost;
    }
    return ServerProblem::Away;
}

ServerReport ServerTelling::Failed(ServerProblem problem, const std::string& server, const std::string& detail) {
    const std::string kept = " Hits are kept in the local history";
    const std::string words = detail.empty() ? std::string() : " (" + detail + ")";
    ServerReport report;
    report.RetryMs = kServerRetryMs;
    switch (problem) {
    case ServerProblem::Away:
        report.Note = "History server away";
        break;
    case ServerProblem::UnknownHost:
        report.Note = "History server away";
        report.Message = "The history server " + server + " cannot be found" + words + "." + kept +
                         " and sent when it can be reached.";
        break;
    case ServerProblem::WrongPassword:
        report.Note = "History login failed";
        report.Message = "The history server " + server + " refused the password" + words + "." + kept +
                         "; correct the password in history_server.txt.";
        report.RetryMs = kServerLoginRetryMs;
        break;
    case ServerProblem::NoDatabase:
        report.Note = "No history database";
        report.Message = "The history server " + server + " has no such database" + words + "." + kept +
                         " until it is created (README, \"History on a server\").";
        report.RetryMs = kServerLoginRetryMs;
        break;
    case ServerProblem::Denied:
        report.Note = "History not allowed";
        report.Message = "The history server " + server + " does not let this station in" + words + "." + kept +
                         "; see the role's rights and pg_hba.conf on the server.";
        report.RetryMs = kServerLoginRetryMs;
        break;
    case ServerProblem::NewerSchema:
        report.Note = "History server error";
        report.Message = "The history on " + server + " was made by a newer Quorvane." + kept + ".";
        report.RetryMs = kServerLoginRetryMs;
        break;
    case ServerProblem::HitRefused:
        // One hit; the others go on.
        report.Message = "A hit could not be sent to the history server " + server + words +
                         ". It stays in the local history.";
        report.RetryMs = 0;
        break;
    case ServerProblem::Other:
        report.Note = "History server error";
        report.Message = "The history server " + server + " reports a problem" + words + "." + kept +
                         " and sent when it works again.";
        break;
    }
    if (problem == ServerProblem::HitRefused) {
        if (hitRefusedTold_) report.Message.clear();
        hitRefusedTold_ = true;
        return report;
    }
    troubled_ = true;
    if (told_ == problem) report.Message.clear();
    told_ = problem;
    return report;
}

bool ServerTelling::Worked() {
    const bool wasTroubled = troubled_;
    troubled_ = false;
    told_.reset();
    return wasTroubled;
}

SentMark MarkOfNewHit(bool serverSet) { return serverSet ? SentMark::NotYetSent : SentMark::LocalOnly; }

SentMark MarkOfImportedHit(bool serverSet, std::optional<SentMark> present) {
    if (!present) return MarkOfNewHit(serverSet);
    if (serverSet && *present == SentMark::LocalOnly) return SentMark::NotYetSent;
    return *present;
}

SendQueue::Step SendQueue::Sent(int sent) {
    if (singlyLeft_ > 0) singlyLeft_ -= std::min(sent, singlyLeft_);
    return Step::SendNext;
}

SendQueue::Step SendQueue::Failed(ServerProblem problem, int sent) {
    if (problem != ServerProblem::HitRefused) {
        singlyLeft_ = 0;
        return Step::WaitAndRetry;
    }
    if (sent > 1) {
        singlyLeft_ = sent;
        return Step::ResendSingly;
    }
    if (singlyLeft_ > 0) --singlyLeft_;
    return Step::MarkRefused;
}

}  // namespace quorvane
