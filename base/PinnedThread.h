// Threads that may outlive the call that started them: each keeps the module
// whose code it runs loaded until it ends, so a program that unloads the
// engine, or a caller that stops waiting for a thread stuck in a system
// call, never pulls the code from under it. Whatever the body uses must be
// owned by the body (captured shared pointers).
#pragma once

#include "base/Handles.h"

#include <functional>

// Starts body on a new thread; returns its handle (to wait on), empty when
// no thread could start (GetLastError says why).
UniqueKernelHandle StartPinnedThread(std::function<void()> body);
