#pragma once
// Which other processes have a port open, read from their descriptors in
// /proc/<pid>/fd, so that a port another program uses is left alone and the
// user is told who has it.
//
// "Has it open" means: the same device node is open in another process. A
// pseudo-terminal's controlling side (/dev/ptmx) is another node, so the
// program serving a virtual port does not hold its terminal that way; many
// such programs (the device simulator among them) keep the terminal side open
// as well, so that the line stays up between their clients. A process that
// holds the controlling side of that very terminal is its server, not a
// holder.

#include <QString>

#include <string>
#include <vector>

struct PortHolder {
    int pid = 0;
    QString command;  // /proc/<pid>/comm: "zelt-esc"
};

// "zelt-esc (pid 4242)".
QString holder_text(const PortHolder& holder);
// "held by zelt-esc (pid 4242)", every holder named; empty when there is none.
QString held_by_text(const std::vector<PortHolder>& holders);

// The open files of every process but one, as /proc showed them at the time.
class OpenFiles {
public:
    // procDir: the system's /proc, or a folder laid out like it (the doctor's
    // tests); the process selfPid is left out.
    OpenFiles(const QString& procDir, int selfPid);

    // The holders of device, named as the system names an open file (links
    // resolved: "/dev/ttyUSB0", "/dev/pts/5").
    std::vector<PortHolder> holders(const QString& device) const;
    // Processes whose descriptors could not be read (those of other users).
    int unreadable() const { return unreadable_; }
    // Whether a process of that command name runs.
    bool running(const QString& name) const;

private:
    struct Process {
        int pid = 0;
        std::vector<std::string> files;    // the targets of its descriptors
        std::vector<int> servedTerminals;  // the numbers of the pseudo-terminals it controls
        bool servesUnknown = false;        // it controls one whose number could not be read
    };
    static bool serves(const Process& p, const QString& device);
    // Read when asked: most processes hold nothing of interest.
    QString command(int pid) const;

    QString procDir_;
    std::vector<Process> processes_;
    int unreadable_ = 0;
};

// The other processes that have the device behind path open now (links
// followed); nothing when path names no device.
std::vector<PortHolder> port_holders(const QString& path);
