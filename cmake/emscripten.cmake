# SPDX-License-Identifier: GPL-3.0-or-later
# The WebAssembly build with emscripten (the wasm preset): what every target
# compiles and links with. js/CMakeLists.txt links the engine itself and
# makes the npm package.

# Errors travel as exceptions in the engine, and every error reply must read
# as it does natively, so exceptions work on every thread with typed catches.
# Native WebAssembly exceptions: emscripten's JavaScript-based ones
# (-fexceptions) are correct but leave every call that may throw in a
# function with something to destroy through a JavaScript trampoline, which
# made perft about 2.6 times slower than natively. Under -pthread this
# emscripten's native ones need the landing-pad glue of
# core/wasm_unwind.cpp (core/CMakeLists.txt adds it): without it every typed
# catch is missed.
add_compile_options(-fwasm-exceptions -pthread)
add_link_options(-fwasm-exceptions -pthread)
