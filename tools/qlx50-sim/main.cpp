// qlx50-sim: a QLX-50 impedance analyzer on a pseudo-terminal.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "qlx50_sim.h"
#include "sim_curves.h"

namespace {

void Usage(std::ostream& out = std::cerr)
{
    out << "usage: qlx50-sim [options]\n"
           "  --link PATH               symbolic link to the device (e.g. for ComPortName)\n"
           "  --mode sweep|judge        operating mode reported by the status reply (sweep)\n"
           "  --load DIR                slots from R01..R64/M01..M64.q5imp in DIR\n"
           "  --save DIR                slots written to DIR when the simulator ends\n"
           "  --export-refs DIR         write the stored references as <name>.q5imp into DIR and exit\n"
           "  --sweep-ms N              duration of a full-range sweep (6000)\n"
           "  --seed N                  seed of the default curves and the measurements (1)\n"
           "  --paced                   bytes at 38400 bit/s 8-O-1 instead of at once\n"
           "  --silence-after-bytes N   stop answering after N reply bytes\n"
           "  --silence-after-commands N  ignore every command after the N-th\n"
           "  --wrong-first-byte HEX    send this byte instead of ACK\n"
           "  --cut-reply N             end every reply after N bytes\n"
           "  --no-etx                  replies without their ETX\n"
           "  --garbage N               N random bytes instead of each reply's data\n"
           "  --status TEXT             status reply text (ETX appended)\n"
           "  --vanish-at N             the device goes away as command N arrives\n"
           "  --sweep-values N          a sweep reply holds only its first N values\n"
           "  --log                     print each received command to stderr\n"
           "  -h, --help                show this help and exit\n";
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    // The instrument's memory is megabytes of curve lines: it lives on the
    // heap, never in this frame (a sanitizer's redzones overflow the stack).
    const auto configHolder = std::make_unique<qlxsim::SimConfig>();
    qlxsim::SimConfig& config = *configHolder;
    std::string link, saveDir, exportDir;
    bool log = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--link")
            link = value();
        else if (a == "--mode")
            config.sweepMode = value() == "sweep";
        else if (a == "--load") {
            const auto m = std::make_unique<qlxsim::SimMemory>();
            std::string error;
            if (!m->Load(value(), error)) {
                std::cerr << "qlx50-sim: " << error << "\n";
                return 1;
            }
            config.memory = *m;
        } else if (a == "--save")
            saveDir = value();
        else if (a == "--export-refs")
            exportDir = value();
        else if (a == "--sweep-ms")
            config.sweepMs = std::atoi(value().c_str());
        else if (a == "--seed")
            config.seed = static_cast<unsigned>(std::strtoul(value().c_str(), nullptr, 10));
        else if (a == "--paced")
            config.paced = true;
        else if (a == "--silence-after-bytes")
            config.faults.silenceAfterBytes = std::atol(value().c_str());
        else if (a == "--silence-after-commands")
            config.faults.silenceAfterCommands = std::atoi(value().c_str());
        else if (a == "--wrong-first-byte")
            config.faults.wrongFirstByte = static_cast<int>(std::strtol(value().c_str(), nullptr, 16) & 0xFF);
        else if (a == "--cut-reply")
            config.faults.cutReplyAfter = std::atoi(value().c_str());
        else if (a == "--no-etx")
            config.faults.dropEtx = true;
        else if (a == "--garbage")
            config.faults.garbageBytes = std::atoi(value().c_str());
        else if (a == "--vanish-at")
            config.faults.vanishAtCommand = std::atoi(value().c_str());
        else if (a == "--status")
            config.faults.statusReply = value() + '\x03';
        else if (a == "--sweep-values")
            config.faults.sweepValues = std::atoi(value().c_str());
        else if (a == "--log")
            log = true;
        else if (a == "--help" || a == "-h") {
            Usage(std::cout);
            return 0;
        } else {
            Usage();
            return 2;
        }
    }

    if (!exportDir.empty()) {
        const auto memory =
            std::make_unique<qlxsim::SimMemory>(config.memory ? *config.memory : qlxsim::DefaultMemory(config.seed));
        std::string error;
        if (!memory->ExportReferences(exportDir, error)) {
            std::cerr << "qlx50-sim: " << error << "\n";
            return 1;
        }
        return 0;
    }

    // The signals are taken synchronously below, so block them in every thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const auto simHolder = std::make_unique<qlxsim::Qlx50Sim>(config);
    qlxsim::Qlx50Sim& sim = *simHolder;
    if (log)
        sim.onCommand = [](const std::string& c) { std::cerr << "qlx50-sim: " << Printable(c) << "\n"; };
    if (!link.empty()) {
        std::error_code ec;
        std::filesystem::remove(link, ec);
        std::filesystem::create_symlink(sim.devicePath(), link, ec);
        if (ec) {
            std::cerr << "qlx50-sim: cannot link " << link << ": " << ec.message() << "\n";
            return 1;
        }
    }
    std::cout << sim.devicePath() << std::endl;

    int sig = 0;
    sigwait(&signals, &sig);
    if (!link.empty())
        std::filesystem::remove(link);
    if (!saveDir.empty()) {
        std::string error;
        if (!sim.Memory().Save(saveDir, error)) {
            std::cerr << "qlx50-sim: " << error << "\n";
            return 1;
        }
    }
    return 0;
}
