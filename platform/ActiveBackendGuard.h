// Makes a back end the active one for the life of the guard, then gives the activity back to
// the back end that had it before, so guards may nest and a failure on the way out still
// leaves no back end active that is about to be destroyed.
#pragma once

#include "platform/Backend.h"

class ActiveBackendGuard {
  public:
    explicit ActiveBackendGuard(Backend& backend) : m_previous(GetActiveBackend()) {
        SetActiveBackend(&backend);
    }
    ActiveBackendGuard(const ActiveBackendGuard&) = delete;
    ActiveBackendGuard& operator=(const ActiveBackendGuard&) = delete;
    ~ActiveBackendGuard() { SetActiveBackend(m_previous); }

  private:
    Backend* m_previous;
};
