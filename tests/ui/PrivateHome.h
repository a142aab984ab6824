#pragma once

#include "platform/DefaultsStore.h"

#include "TempHome.h"

// A private HOME for a test whose face reads the user-defaults store (the Hijri day offset): the standard
// store is reopened inside it and closed again before the folder goes.
class PrivateHome {
  public:
    PrivateHome() { DefaultsStore::resetStandard(); }
    ~PrivateHome() { DefaultsStore::resetStandard(); }

  private:
    TempHome home_;
};
