// zelt-sim: a setting card with an ESC, served on a pseudo-terminal for demos
// and manual tests, or several at once (--cards N), each on a terminal of its
// own. Prints the terminals' paths as its first lines, once the ports are
// listed among the virtual ports.

#include "serial/port_list.h"
#include "sim/command_line.h"
#include "sim/console_command.h"
#include "sim/simulator.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Reads stdin commands until "quit", SIGINT or SIGTERM. End of input does not
// stop the simulator: started in the background its stdin is empty.
void serve_console(int signal_fd, const std::vector<std::unique_ptr<sim::Simulator>>& cards,
                   const sim::Options& defaults)
{
    std::string pending;
    bool stdin_open = true;
    for (;;) {
        pollfd fds[2] = {{signal_fd, POLLIN, 0}, {stdin_open ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[0].revents & POLLIN)
            return;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[256];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                stdin_open = false;
                continue;
            }
            pending.append(buffer, n);
            for (size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, eol);
                pending.erase(0, eol + 1);
                std::string message;
                switch (sim::run_card_command(line, cards, defaults, &message)) {
                    case sim::CommandResult::Quit:
                        return;
                    case sim::CommandResult::Error:
                        std::cerr << message << std::endl;
                        break;
                    case sim::CommandResult::Done:
                        break;
                }
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    sim::CommandLine cl;
    std::string error;
    if (!sim::parse_command_line(argc, argv, &cl, &error)) {
        std::cerr << error << std::endl;
        return 2;
    }
    if (cl.show_help || cl.show_version) {
        std::cout << (cl.show_help ? sim::usage() : "zelt-sim " ZELT_VERSION "\n");
        return 0;
    }
    if (!cl.images_dir.empty() && !sim::Simulator::write_sample_images(cl.images_dir, cl.image_version)) {
        std::cerr << "zelt-sim: cannot write the sample images into " << cl.images_dir
                  << " (is the folder writable, is the version like 1.3?)" << std::endl;
        return 1;
    }

    // Signals are taken by the console loop, so the port is unregistered on
    // SIGINT and SIGTERM as on quit. Blocked before any thread starts.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    sigaddset(&stop_signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    const int signal_fd = signalfd(-1, &stop_signals, SFD_CLOEXEC);

    // Every card with its ESC; the faults given apply to each.
    std::vector<std::unique_ptr<sim::Simulator>> cards;
    for (int i = 0; i < cl.cards; ++i) {
        cards.push_back(std::make_unique<sim::Simulator>(cl.options));
        if (!cards.back()->start()) {
            std::cerr << "zelt-sim: cannot open a pseudo-terminal" << std::endl;
            return 1;
        }
        sim::apply_faults(cl, *cards.back());
    }

    // Registered before the paths are printed: whoever reads the first lines
    // and starts the program at once finds the ports listed.
    std::vector<QString> links;
    for (const auto& card : cards) {
        QString link;
        if (cl.register_port && !register_virtual_port(QString::fromStdString(card->port_path()), &link))
            std::cerr << "zelt-sim: cannot register the port in " << virtual_port_dir().toStdString()
                      << "; the program will not list it" << std::endl;
        links.push_back(link);
    }
    for (const auto& card : cards)
        std::cout << card->port_path() << std::endl;
    for (const QString& link : links) {
        if (!link.isEmpty())
            std::cout << "registered as " << link.toStdString() << std::endl;
    }

    serve_console(signal_fd, cards, cl.options);

    for (const QString& link : links) {
        if (!link.isEmpty())
            unregister_virtual_port(link);
    }
    return 0;
}
