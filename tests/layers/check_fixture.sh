#!/bin/sh
# The layer check on a tree of fixtures (tests/layers/tree): it fails and names every include
# that a layer may not use, and only those.
set -u
HERE=$(dirname "$0")
reported=$(sh "$HERE/../../scripts/check-layer-includes" "$HERE/tree" 2>&1)
status=$?
expected=$(cat <<'LINES'
base/Text.h:3: base/ may not include "platform/CWnd.h"
platform/Window.h:2: platform/ may not include "host/CString.h"
host/Kernel.cpp:2: host/ may not include "module/model/CInternalData.h"
host/Kernel.cpp:4: host/ may not include "platform/fltk/FltkBackend.h"
module/dialog/Editor.cpp:2: the module may not include "app/cli/Cli.h"
module/dialog/Editor.cpp:5: the module may not include "platform/HeadlessBackend.h"
toolpath/motion/Motion.cpp:2: toolpath/motion/ may not include "host/CMC_Value.h"
toolpath/motion/Motion.cpp:4: toolpath/motion/ may not include "toolpath/plot/SvgPlot.h"
toolpath/plot/Geometry.cpp:4: toolpath/plot/ may not include "platform/CWnd.h"
toolpath/plot/Geometry.cpp:5: toolpath/plot/ may not include "toolpath/exchange/GcodeReader.h"
toolpath/plot/Geometry.cpp:7: toolpath/plot/ may not include "viewer/ViewPath.h"
viewer/Picture.cpp:3: viewer/ may not include "app/cli/Cli.h"
viewer/Picture.cpp:4: viewer/ may not include "platform/CWnd.h"
viewer/Picture.cpp:7: viewer/ may not include "viewer/fltk/ViewerWindow.h"
viewer/fltk/Window.cpp:3: viewer/fltk/ may not include "platform/fltk/FltkBackend.h"
app/Command.cpp:2: "Local.h" names no layer (write it from the repository root)
app/Command.cpp:4: app/ may not include "module/model/CInternalData.h"
app/Command.cpp:5: app/ may not include "module/plugin/CVantrelApp.h"
app/Command.cpp:11: app/ may not include "viewer/fltk/ViewerWindow.h"
check-layer-includes: see "Layers and folders" in docs/architecture.md
LINES
)
if [ "$status" -ne 1 ] || [ "$reported" != "$expected" ]; then
  echo "FAIL: the check exited $status and reported:"
  echo "$reported"
  echo "expected exit 1 and:"
  echo "$expected"
  exit 1
fi
echo "ok: the check names each forbidden include of the fixtures"
