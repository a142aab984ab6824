#pragma once

#include "TempHome.h"
#include "platform/DefaultsStore.h"

// A private HOME with its own defaults store for one test: the standard store is reopened inside the
// temporary tree and closed again afterwards, so cache entries never leak between tests.
class IsolatedDefaults {
  public:
    IsolatedDefaults() { DefaultsStore::resetStandard(); }
    ~IsolatedDefaults() { DefaultsStore::resetStandard(); }
    IsolatedDefaults(const IsolatedDefaults&) = delete;
    IsolatedDefaults& operator=(const IsolatedDefaults&) = delete;

    DefaultsStore& store() { return DefaultsStore::standard(); }

  private:
    TempHome home_;
};
