#include "uci/commands.h"

int main() {
    run_command_loop();
    return 0;
}
