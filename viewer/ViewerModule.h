// The program as a local COM server shell: its registration (an AppID and
// a type library without types), its lock count and the shutdown monitor.
// It serves no classes, so no client ever holds a lock.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

namespace quor {

class ViewerModule {
public:
    explicit ViewerModule(HINSTANCE instance);
    ~ViewerModule();
    ViewerModule(const ViewerModule&) = delete;
    ViewerModule& operator=(const ViewerModule&) = delete;

    HINSTANCE instance() const { return instance_; }
    HRESULT registerServer();
    HRESULT unregisterServer();

    LONG lock();
    LONG unlock();

    // Starts the worker that quits the program once the last lock has gone
    // and nothing happened for a while; without it the program goes on.
    void startMonitor();
    void stopMonitor();

private:
    static DWORD WINAPI monitorThread(void* self);
    void watchLocks();

    HINSTANCE instance_;
    DWORD mainThreadId_;
    volatile LONG lockCount_ = 0;
    volatile LONG active_ = 0;
    volatile LONG stopping_ = 0;
    KernelHandle shutdownEvent_;
    KernelHandle thread_;
};

}  // namespace quor
