// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/console.h"
#include "uci/commands.h"

void debug_command(const Tokens& tokens) {
    if (tokens.size() == 2) {
        set_debug_mode(tokens[1]);
    } else {
        console_write(unknown_command_reply);
    }
}

// The engine keeps no debug state: the command is only acknowledged.
void set_debug_mode(std::string argument) {
    if (argument == "on") {
        send_info_string("Debug mode was enabled.");
    } else if (argument == "off") {
        send_info_string("Debug mode was disabled.");
    } else {
        console_write(unknown_command_reply);
    }
}
