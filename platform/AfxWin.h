// Everything dialog code needs from the framework.
#pragma once

#include "platform/AfxMessageBox.h"
#include "platform/AfxPrompt.h"
#include "platform/AfxTypes.h"
#include "platform/CComboBox.h"
#include "platform/CDataExchange.h"
#include "platform/CDialog.h"
#include "platform/CException.h"
#include "platform/CFile.h"
#include "platform/CFileDialog.h"
#include "platform/CFont.h"
#include "platform/CListBox.h"
#include "platform/CWinApp.h"
#include "platform/CWnd.h"
#include "platform/StringTable.h"
#include "platform/WinApi.h"
#include "platform/WinDefs.h"
