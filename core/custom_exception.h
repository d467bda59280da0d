// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <string>

// The engine's one exception type: every invalid input that the engine's own
// code detects is thrown as a CustomException carrying a fixed English message.
class CustomException : public std::exception {
public:
    explicit CustomException(std::string message) : message(std::move(message)) {}
    ~CustomException() override = default;
    const char* what() const noexcept override { return message.c_str(); }

    std::string message;
};
