#include "office.h"

#include "chords/marking.h"
#include "music/transpose.h"
#include "tests/support/prompter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace unotest
{

namespace
{

/// The paths of the Unix sockets that the processes of group hold open: the office's pipes in /tmp, which an
/// office that is killed leaves behind.
std::vector<std::string> socketsOf(int group)
{
    std::map<std::string, std::string> pathOfInode;
    std::ifstream table("/proc/net/unix");
    std::string line;
    std::getline(table, line); // the heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string num, refCount, protocol, flags, type, st, inode, path;
        if (fields >> num >> refCount >> protocol >> flags >> type >> st >> inode >> path && path.front() == '/') {
            pathOfInode[inode] = path;
        }
    }
    std::vector<std::string> sockets;
    std::error_code error;
    for (const auto &process : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream statFile(process.path() / "stat");
        std::string stat;
        if (!std::getline(statFile, stat) || stat.rfind(')') == std::string::npos) {
            continue;
        }
        // After the command name: state, parent, process group.
        std::istringstream rest(stat.substr(stat.rfind(')') + 1));
        std::string state;
        int parent = 0;
        int processGroup = 0;
        if (!(rest >> state >> parent >> processGroup) || processGroup != group) {
            continue;
        }
        std::error_code fdError;
        for (const auto &fd : std::filesystem::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            const std::string target = std::filesystem::read_symlink(fd.path(), linkError).string();
            if (target.rfind("socket:[", 0) == 0) {
                const auto found = pathOfInode.find(target.substr(8, target.size() - 9));
                if (found != pathOfInode.end()) {
                    sockets.push_back(found->second);
                }
            }
        }
    }
    return sockets;
}

/// Kills the office's processes and removes the pipes they leave in /tmp.
void killGroup(int group)
{
    const auto sockets = socketsOf(group);
    kill(-group, SIGKILL);
    for (const auto &path : sockets) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
}

struct Office {
    word::uno::Options options;
    std::unique_ptr<word::uno::Host> host;
    int group = -1;
    std::string root;
    int scratchCount = 0;

    ~Office()
    {
        stop();
    }

    void stop()
    {
        host.reset();
        if (group > 0) {
            killGroup(group);
            group = -1;
        }
        if (!root.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
            root.clear();
        }
    }
};

Office &state()
{
    static Office office;
    return office;
}

// A watchdog process that kills the office's process group when this program ends in any way
// (its end of the pipe closes even on SIGKILL).
void guard(int group)
{
    int channel[2];
    if (pipe(channel) != 0) {
        return;
    }
    const pid_t watchdog = fork();
    if (watchdog == 0) {
        close(channel[1]);
        char byte;
        while (read(channel[0], &byte, 1) > 0) { }
        kill(-group, SIGKILL);
        _exit(0);
    }
    close(channel[0]); // channel[1] stays open for this program's life
}

void start()
{
    Office &office = state();
    char root[] = "/tmp/tonvale-uno-XXXXXX";
    if (!mkdtemp(root)) {
        throw std::runtime_error("no scratch folder");
    }
    office.root = root;
    // The office's own temporary files go into the scratch folder, which goes with it (its pipes, which it
    // keeps in /tmp whatever TMPDIR says, are removed when it is killed).
    const std::string temporary = office.root + "/tmp";
    std::filesystem::create_directories(temporary);
    setenv("TMPDIR", temporary.c_str(), 1);
    office.options.pipeName =
        "tonvale-test-" + std::to_string(getpid()) + "-" + std::filesystem::path(root).filename().string();
    office.options.headless = true;
    office.options.profileDir = office.root + "/profile";
    office.options.startTimeout = std::chrono::seconds(90);
    office.options.launched = [&office](int group) {
        office.group = group;
        guard(group);
    };
    office.host = word::uno::start(office.options);
}

class OfficeEnvironment : public ::testing::Environment
{
public:
    void TearDown() override
    {
        state().stop();
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

} // namespace

word::uno::Host &office()
{
    Office &o = state();
    if (!o.host) {
        if (o.group > 0) {
            throw std::runtime_error("the office was killed");
        }
        start();
    }
    return *o.host;
}

const word::uno::Options &officeOptions()
{
    office();
    return state().options;
}

int officeProcessGroup()
{
    office();
    return state().group;
}

void killOffice()
{
    Office &o = state();
    if (o.group > 0) {
        killGroup(o.group);
    }
}

std::string scratchDir()
{
    office();
    Office &o = state();
    const std::string dir = o.root + "/files" + std::to_string(++o.scratchCount);
    std::filesystem::create_directories(dir);
    return dir;
}

std::vector<word::uno::TextRun> runsFromNotation(const std::string &notation)
{
    std::vector<word::uno::TextRun> runs;
    word::uno::TextRun current;
    const auto flush = [&] {
        if (!current.text.empty()) {
            runs.push_back(current);
        }
        current.text.clear();
    };
    std::size_t i = 0;
    const auto readText = [&](bool inRun) {
        while (i < notation.size()) {
            const char c = notation[i];
            if (inRun && c == '}') {
                return;
            }
            if (c == '{' && !inRun) {
                return;
            }
            if (c == '\\' && i + 1 < notation.size()) {
                current.text += notation[i + 1];
                i += 2;
                continue;
            }
            current.text += c == '\n' ? '\r' : c;
            ++i;
        }
    };
    while (i < notation.size()) {
        current = {};
        readText(false);
        flush();
        if (i >= notation.size()) {
            break;
        }
        ++i; // "{"
        current = {};
        while (i < notation.size() && notation[i] != '|') {
            const char c = notation[i++];
            if (c == 'b') {
                current.bold = true;
            } else if (c == 'i') {
                current.italic = true;
            } else if (c == 'u') {
                current.underline = 1;
                if (i < notation.size() && std::isdigit(static_cast<unsigned char>(notation[i]))) {
                    current.underline = 0;
                    while (std::isdigit(static_cast<unsigned char>(notation[i]))) {
                        current.underline = current.underline * 10 + (notation[i++] - '0');
                    }
                }
            } else if (c == '#') {
                const unsigned long rgb = std::stoul(notation.substr(i, 6), nullptr, 16);
                i += 6;
                current.color = static_cast<int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
            } else {
                throw std::invalid_argument("bad notation: " + notation);
            }
        }
        ++i; // "|"
        readText(true);
        ++i; // "}"
        flush();
    }
    return runs;
}

std::string notationOf(const std::vector<word::uno::TextRun> &runs)
{
    std::string out;
    for (const auto &run : runs) {
        std::string attrs;
        if (run.bold) {
            attrs += 'b';
        }
        if (run.italic) {
            attrs += 'i';
        }
        if (run.underline == 1) {
            attrs += 'u';
        } else if (run.underline != 0) {
            attrs += "u" + std::to_string(run.underline);
        }
        if (run.color != word::wdColorAutomatic) {
            char buffer[8];
            const auto c = static_cast<uint32_t>(run.color);
            std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
            attrs += buffer;
        }
        std::string piece;
        const auto flush = [&] {
            if (piece.empty()) {
                return;
            }
            out += attrs.empty() ? piece : "{" + attrs + "|" + piece + "}";
            piece.clear();
        };
        for (const char c : run.text) {
            if (c == '\r') {
                flush();
                out += '\n';
            } else {
                if (c == '{' || c == '}' || c == '|' || c == '\\') {
                    piece += '\\';
                }
                piece += c;
            }
        }
        flush();
    }
    // Neighbouring runs of one format split by a paragraph mark read as they are written.
    return out;
}

void transposePass(word::Application &app, const word::ChordFont &font, int delta, bool sharps, bool nashvilleOut)
{
    testsupport::TestPrompter prompter;
    music::ReplaceChords(app,
                         prompter,
                         font,
                         music::PassOptions{false ? music::Notation::Nashville : music::Notation::Letters,
                                            nashvilleOut ? music::Notation::Nashville : music::Notation::Letters,
                                            sharps ? music::Spelling::Sharps : music::Spelling::Flats},
                         delta);
}

void markChords(word::Application &app, const word::ChordFont &font)
{
    for (const auto pattern : chords::catalogue) {
        chords::FindChord(app, font, std::string(pattern));
    }
    app.ScreenRefresh();
}

} // namespace unotest
