#include "sim/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace sim {

namespace {

bool parse_int(const std::string& text, int base, int lo, int hi, int* out)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end || text.empty() || value < lo || value > hi)
        return false;
    *out = value;
    return true;
}

bool parse_byte(const std::string& text, uint8_t* out)
{
    int v;
    if (!parse_int(text, 16, 0, 255, &v))
        return false;
    *out = static_cast<uint8_t>(v);
    return true;
}

}  // namespace

bool parse_hex_bytes(const std::string& text, std::vector<uint8_t>* out)
{
    std::string digits;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        digits += c;
    }
    if (digits.size() % 2 != 0)
        return false;
    out->clear();
    for (size_t i = 0; i < digits.size(); i += 2)
        out->push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return true;
}

std::string usage()
{
    return "Usage: zelt-sim [options]\n"
           "Plays a setting card with an ESC on a pseudo-terminal, for demos and tests without\n"
           "hardware. Prints the terminal's path on its first line.\n"
           "  -h, --help           this text\n"
           "  --version            the version\n"
           "  --type HH            type code of the ESC (hex, default 03)\n"
           "  --hw HH              hardware version (hex, default 10 for V1.0)\n"
           "  --fw HH              firmware version (hex, default 12 for V1.2)\n"
           "  --no-esc             the card has no ESC plugged in\n"
           "  --zero-id            without an ESC, answer \"50\" with 50 00 00 00, not 50 alone\n"
           "  --unpaced            answer at once instead of at 19200 baud\n"
           "  --turnaround MS      device think time before a reply (default 2)\n"
           "  --poles N            poles of the simulated motor (default 14)\n"
           "  --images DIR         write the sample firmware images into DIR\n"
           "  --image-version D.D  version in the sample images' header (default 1.3)\n"
           "  --no-register        do not list the port among the virtual ports\n"
           "  --cards N            play N cards at once, each with its ESC on a port of its own\n"
           "                       (default 1); their paths are the first N lines\n"
           "adapter (a USB-serial adapter between the card and the program; none by default):\n"
           "  --adapter PRESET     none, ftdi-16ms, ftdi-1ms (62-byte packets, latency timer\n"
           "                       16 or 1 ms) or ch340 (32-byte packets)\n"
           "  --adapter-packet N   bytes per receive packet (1-4096)\n"
           "  --adapter-hold-ms N  how long bytes of a packet that is not full wait, counted\n"
           "                       from the previous packet (0-1000)\n"
           "  A pseudo-terminal cannot pass the program's low-latency request on to the\n"
           "  adapter: pick the preset the request would give (ftdi-1ms where it is granted).\n"
           "faults:\n"
           "  --silent             the card answers nothing\n"
           "  --no-reply-to N      no answer to the Nth request\n"
           "  --reply-delay MS     extra delay before every reply\n"
           "  --split-gap MS       send replies a byte at a time with this gap\n"
           "  --extra-trailing     a 00 after every reply (\"35\" answered 25 01 00)\n"
           "  --corrupt-first      first byte of the first reply XOR FF\n"
           "  --block-reply N:HEX  answer firmware block N with these bytes (e.g. 5:5959)\n"
           "  --stop-after-block K the ESC falls silent after firmware block K\n"
           "  --flip-readback I    byte I of the firmware read-back XOR FF\n"
           "  --hangup-after N     close the line after N received bytes\n"
           "  --write-ack HH       answer a parameter frame with this byte instead of 55\n"
           "stdin commands: unplug | plug HH [HW FW] | quit; with several cards a command names\n"
           "its card: card K unplug | card K plug HH [HW FW] (K from 1)\n";
}

bool parse_command_line(int argc, char** argv, CommandLine* out, std::string* error)
{
    // Options that only switch something on or off.
    const struct {
        const char* name;
        bool* target;
        bool value;
    } flags[] = {
        {"--no-esc", &out->options.esc_present, false},
        {"--zero-id", &out->options.zero_id_without_esc, true},
        {"--unpaced", &out->options.paced, false},
        {"--no-register", &out->register_port, false},
        {"--silent", &out->silent_card, true},
        {"--extra-trailing", &out->extra_trailing, true},
        {"--corrupt-first", &out->corrupt_first_reply, true},
        {"--help", &out->show_help, true},
        {"-h", &out->show_help, true},
        {"--version", &out->show_version, true},
    };
    // Options that take a decimal number within bounds.
    const struct {
        const char* name;
        int lo, hi;
        int* target;
    } numbers[] = {
        {"--turnaround", 0, 60000, &out->options.turnaround_ms},
        {"--poles", 2, 24, &out->options.poles},
        {"--cards", 1, 64, &out->cards},
        {"--no-reply-to", 1, 1000000, &out->no_reply_to},
        {"--reply-delay", 0, 600000, &out->reply_delay_ms},
        {"--split-gap", 1, 60000, &out->split_gap_ms},
        {"--stop-after-block", 1, 1000, &out->stop_after_block},
        {"--flip-readback", 0, 6143, &out->flip_readback_byte},
        {"--hangup-after", 0, 100000000, &out->hangup_after_bytes},
    };
    // Options that take a hex byte.
    const struct {
        const char* name;
        uint8_t* target;
    } bytes[] = {
        {"--type", &out->options.type},
        {"--hw", &out->options.hw_version},
        {"--fw", &out->options.fw_version},
    };

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *v = argv[++i];
            return true;
        };
        auto byte_option = [&](uint8_t* target) {
            std::string v;
            if (!value(&v))
                return false;
            if (!parse_byte(v, target)) {
                *error = arg + ": " + v + " is not a hex byte";
                return false;
            }
            return true;
        };
        auto int_option = [&](int lo, int hi, int* target) {
            std::string v;
            if (!value(&v))
                return false;
            if (!parse_int(v, 10, lo, hi, target)) {
                *error = arg + ": " + v + " is not a number from " + std::to_string(lo) + " to " +
                         std::to_string(hi);
                return false;
            }
            return true;
        };
        auto named = [&arg](const auto& table) {
            return std::find_if(std::begin(table), std::end(table),
                                [&arg](const auto& o) { return arg == o.name; });
        };
        bool ok = true;
        if (const auto f = named(flags); f != std::end(flags))
            *f->target = f->value;
        else if (const auto n = named(numbers); n != std::end(numbers))
            ok = int_option(n->lo, n->hi, n->target);
        else if (const auto b = named(bytes); b != std::end(bytes))
            ok = byte_option(b->target);
        else if (arg == "--images")
            ok = value(&out->images_dir);
        else if (arg == "--image-version")
            ok = value(&out->image_version);
        else if (arg == "--adapter") {
            std::string v;
            ok = value(&v);
            const auto preset = ok ? adapter_preset(v) : std::nullopt;
            if (ok && !preset) {
                *error = "--adapter: " + v + " is not one of " + adapter_preset_names();
                ok = false;
            }
            if (ok)
                out->options.adapter = *preset;
        } else if (arg == "--adapter-packet") {
            int n = 0;
            ok = int_option(1, 4096, &n);
            out->options.adapter.packet_bytes = static_cast<size_t>(n);
        } else if (arg == "--adapter-hold-ms") {
            int ms = 0;
            ok = int_option(0, 1000, &ms);
            out->options.adapter.hold = std::chrono::milliseconds(ms);
        } else if (arg == "--write-ack") {
            uint8_t ack;
            ok = byte_option(&ack);
            out->write_ack = ack;
        } else if (arg == "--block-reply") {
            std::string v;
            ok = value(&v);
            const size_t colon = v.find(':');
            int block = 0;
            std::vector<uint8_t> reply;
            if (ok && (colon == std::string::npos || !parse_int(v.substr(0, colon), 10, 1, 1000, &block) ||
                       !parse_hex_bytes(v.substr(colon + 1), &reply))) {
                *error = "--block-reply: " + v + " is not BLOCK:HEXBYTES (e.g. 5:5959)";
                ok = false;
            }
            if (ok)
                out->block_replies.emplace_back(block, reply);
        } else {
            *error = "unknown option " + arg + "\n" + usage();
            return false;
        }
        if (!ok)
            return false;
    }
    return true;
}

void apply_faults(const CommandLine& cl, Simulator& sim)
{
    sim.change_faults([&cl](Faults& f) {
        f.silent_card = cl.silent_card;
        f.reply_delay_ms = cl.reply_delay_ms;
        f.split_reply_gap_ms = cl.split_gap_ms;
        f.extra_trailing_bytes = cl.extra_trailing;
        f.corrupt_next_reply = cl.corrupt_first_reply;
        for (const auto& [block, reply] : cl.block_replies)
            f.block_replies[block] = reply;
        f.stop_after_block = cl.stop_after_block;
        f.flip_readback_byte = cl.flip_readback_byte;
        f.hangup_after_bytes = cl.hangup_after_bytes;
    });
    sim.set_no_reply_to(cl.no_reply_to);
    if (cl.write_ack >= 0)
        sim.set_write_ack(static_cast<uint8_t>(cl.write_ack));
}

}  // namespace sim
