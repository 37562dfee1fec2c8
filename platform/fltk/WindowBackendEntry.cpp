#include "platform/fltk/WindowBackendEntry.h"

#include "platform/fltk/FltkBackend.h"

bool VantrelOpenWindowDisplay(VantrelDisplayLostHandler onLost) {
    return FltkBackend::OpenDisplay(onLost);
}

Backend* VantrelCreateWindowBackend() { return new FltkBackend(); }

void VantrelDestroyWindowBackend(Backend* backend) { delete backend; }

void VantrelNameWindowDocument(Backend* backend, const char* name, const char* rowNoun) {
    static_cast<FltkBackend*>(backend)->NameDocument(name, rowNoun);
}
