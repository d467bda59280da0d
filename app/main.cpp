// SPDX-License-Identifier: GPL-3.0-or-later
#include "uci/commands.h"

int main() {
    run_command_loop();
    return 0;
}
