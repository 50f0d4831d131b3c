// Writes the seed corpora of the fuzz targets from the demo radio of the
// simulator: what it answers while polling and harvesting, and typical
// settings files. Usage: make_seeds CORPUS_DIR
#include <filesystem>
#include <fstream>
#include <iostream>

#include "DemoScenario.h"
#include "RadioState.h"
#include "Respond.h"
#include "memory/ChannelCsv.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryReader.h"
#include "tools/Harvest.h"

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string Round(RadioState& radio, SimTime now) {
    std::string round;
    for (const char* request : {"STS", "GID", "WIN"}) round += Respond(radio, request, now) + "\r";
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seeds CORPUS_DIR\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    const Scenario demo = DemoScenario();

    // Polling: fast rounds over a minute of traffic, the same split across
    // ticks as on a slow line, and rounds with a key's reply among them.
    RadioState radio(demo, 0);
    std::string fast, slow, keys;
    for (SimTime now = 0; now < 20000; now += 300) {
        const std::string round = Round(radio, now);
        fast += "r" + round + "\n";
        slow += "r" + round.substr(0, round.size() / 2) + "\nr" + round.substr(round.size() / 2) + "\n";
        if (now % 2100 == 0) keys += "k\nr" + round + Respond(radio, "KEY,>,P", now) + "\r\n";
        else keys += "r" + round + "\n";
    }
    Write(corpus / "poll", "fast_rounds", fast);
    Write(corpus / "poll", "slow_rounds", slow);
    Write(corpus / "poll", "key_replies", keys + "w\nw\na\nd" + Round(radio, 21000) + "\n");

    // Harvesting the demo memory, whole and cancelled half way.
    RadioState memory(demo, 0);
    Harvest harvest(25);
    HarvestStep step = harvest.Start();
    std::string replies;
    std::string table;
    while (step.outcome == HarvestOutcome::Send) {
        const std::string reply = Respond(memory, step.command, 0) + "\r";
        replies += reply + "\n";
        harvest.OnReplyLine(reply.substr(0, reply.size() - 1));
        step = harvest.OnNoReply();
    }
    table = step.fileBytes;
    Write(corpus / "harvest", "demo_memory", replies);
    Write(corpus / "harvest", "cancelled", replies.substr(0, replies.size() / 2) + "\nc\n");

    Write(corpus / "hit_intel", "demo_memory", table);
    Write(corpus / "hit_intel", "short_columns", "01544300\tDispatch 1\r\n01544300\r\n\r\n08552375\tOps\tPolice\tMetro\r\n");

    Write(corpus / "settings", "com", "0\r\n3\r\n100\r\n");
    Write(corpus / "settings", "pgm", "0\r\n1\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"/home/ann/Logs\"\r\n4\r\n");
    Write(corpus / "settings", "macros", "\"KEY,1,P KEY,2,P\"\r\n\"\"\r\n\"KEY,S,P\"\r\n");

    // Backing up the demo memory: the replies one per line, then with a
    // lost reply ("t") and a late one, and cancelled half way; the backup
    // file and its channels as CSV.
    RadioState stored(demo, 0);
    MemoryReader reader;
    MemoryStep backup = reader.Start();
    std::string answers;
    while (backup.outcome == MemoryOutcome::Send) {
        const std::string reply = Respond(stored, backup.command, 0);
        answers += reply + "\n";
        backup = reader.OnReplyLine(reply);
    }
    const std::size_t third = answers.find('\n', answers.size() / 3) + 1;
    const std::size_t next = answers.find('\n', third) + 1;
    Write(corpus / "memory_reader", "demo_backup", answers);
    Write(corpus / "memory_reader", "lost_and_late",
          answers.substr(0, third) + "t\n" + answers.substr(third, next - third) + answers.substr(third));
    Write(corpus / "memory_reader", "cancelled", answers.substr(0, answers.size() / 2) + "\nc\n");
    Write(corpus / "memory_file", "demo_backup.json", WriteMemoryJson(reader.Result()));
    Write(corpus / "memory_file", "demo_channels.csv", WriteChannelsCsv(reader.Result()));

    Write(corpus / "extended_key", "conventional", "\n 154.4150\nCounty Fire\n");
    Write(corpus / "extended_key", "trunked", "Metro Trunk\n 855.2375\n  Metro  Trunk \n12345");
    return 0;
}
