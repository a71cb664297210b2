#include "sim/console_command.h"

#include "sim/command_line.h"

#include <sstream>
#include <vector>

namespace sim {

CommandResult run_console_command(const std::string& line, Simulator& sim, const Options& defaults,
                                  std::string* message)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    if (words.empty())
        return CommandResult::Done;

    const std::string& verb = words[0];
    if (verb == "quit" && words.size() == 1)
        return CommandResult::Quit;
    if (verb == "unplug" && words.size() == 1) {
        sim.unplug();
        return CommandResult::Done;
    }
    if (verb == "plug" && (words.size() == 2 || words.size() == 4)) {
        std::vector<uint8_t> bytes;
        std::string joined;
        for (size_t i = 1; i < words.size(); ++i)
            joined += words[i].size() == 2 ? words[i] : std::string("?");
        if (parse_hex_bytes(joined, &bytes)) {
            if (bytes.size() == 1)
                sim.plug(bytes[0], defaults.hw_version, defaults.fw_version);
            else
                sim.plug(bytes[0], bytes[1], bytes[2]);
            return CommandResult::Done;
        }
    }
    *message = "unknown command: " + line + " (commands: unplug | plug HH [HW FW] | quit; HH in hex)";
    return CommandResult::Error;
}

CommandResult run_card_command(const std::string& line, const std::vector<std::unique_ptr<Simulator>>& cards,
                               const Options& defaults, std::string* message)
{
    std::istringstream in(line);
    std::string first, number;
    in >> first;
    if (first != "card") {
        if (cards.size() == 1 || first.empty() || first == "quit")
            return run_console_command(line, *cards.front(), defaults, message);
        *message = "name the card: card K " + line + " (K from 1 to " + std::to_string(cards.size()) + ")";
        return CommandResult::Error;
    }
    in >> number;
    size_t used = 0;
    int card = 0;
    try {
        card = std::stoi(number, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != number.size() || card < 1 || card > static_cast<int>(cards.size())) {
        *message = "there is no card " + number + " (cards 1 to " + std::to_string(cards.size()) + ")";
        return CommandResult::Error;
    }
    std::string rest, verb;
    std::getline(in, rest);
    std::istringstream(rest) >> verb;
    // quit ends every card, so it names none.
    if (verb.empty() || verb == "quit") {
        *message = "unknown command: " + line + " (card K unplug | card K plug HH [HW FW])";
        return CommandResult::Error;
    }
    return run_console_command(rest, *cards[card - 1], defaults, message);
}

}  // namespace sim
