#pragma once

// The server side of control hosting: the entry points a control library
// exports (extern "C", by these names) and the class factory it hands out.

#include "Automation.h"

namespace kestrum {

// Result codes of the entry points and the factory.
namespace ServerResult {
constexpr int32_t Ok = 0;
constexpr int32_t False = 1; // e.g. DllCanUnloadNow: still in use
constexpr int32_t NoInterface = int32_t(0x80004002);
constexpr int32_t Fail = int32_t(0x80004005);
constexpr int32_t ClassNotAvailable = int32_t(0x80040111);
constexpr int32_t RegisterClassFailed = int32_t(0x80040201);
constexpr int32_t OutOfMemory = int32_t(0x8007000E);
} // namespace ServerResult

// {00000001-0000-0000-C000-000000000046}: the interface DllGetClassObject hands out.
constexpr Guid IID_ClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Owned by the library; the host never deletes it.
class ClassFactory {
public:
  virtual int32_t CreateInstance(Control **object) = 0;
  virtual void LockServer(bool lock) = 0;

protected:
  ~ClassFactory() = default;
};

extern "C" {
using DllRegisterServerFn = int32_t (*)();
using DllUnregisterServerFn = int32_t (*)();
using DllGetClassObjectFn = int32_t (*)(const Guid *clsid, const Guid *iid, void **object);
using DllCanUnloadNowFn = int32_t (*)();
}

} // namespace kestrum
