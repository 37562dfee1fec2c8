// A model without parameters of its own: the host's named-entry operations and its editor
// dialog base need a concrete model, and these tests drive the operations themselves.
#pragma once

#include "host/CMC_EditMotionInternalData.h"

class StubModel : public CMC_EditMotionInternalData {
  public:
    using CMC_EditMotionInternalData::CMC_EditMotionInternalData;
    int ReadParameters(const CString&, CString&) override { return 1; }
    void WriteParameters(CString&) override {}
};
