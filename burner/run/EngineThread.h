// Threads that may outlive the call that started them: each keeps the
// engine's module loaded until it ends, so a program that unloads the
// engine, or a caller that stops waiting for a thread stuck in a system
// call, never pulls the code from under it. Whatever the body uses must be
// owned by the body (captured shared pointers).
#pragma once

#include <windows.h>

#include <functional>

// Starts body on a new thread; returns its handle (to wait on and close),
// or null when no thread could start.
HANDLE StartEngineThread(std::function<void()> body);
