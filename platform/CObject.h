// Root of the framework's class tree.
#pragma once

class CObject {
  public:
    virtual ~CObject() = default;

  protected:
    CObject() = default;
};
