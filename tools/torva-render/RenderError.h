#pragma once
#include <stdexcept>
#include <string>

// Bad input from the command line or an input file: one line for stderr, exit
// status 2.
class BadInput : public std::runtime_error {
 public:
  explicit BadInput(const std::string& message) : std::runtime_error(message) {}
};

// Anything else that stops a render (a write that failed, a full disk): exit
// status 1.
class RenderFailure : public std::runtime_error {
 public:
  explicit RenderFailure(const std::string& message) : std::runtime_error(message) {}
};
