// Everything dialog code needs from the framework.
#pragma once

#include "AfxMessageBox.h"
#include "AfxPrompt.h"
#include "AfxTypes.h"
#include "CComboBox.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CException.h"
#include "CFile.h"
#include "CFileDialog.h"
#include "CFont.h"
#include "CListBox.h"
#include "CWinApp.h"
#include "CWnd.h"
#include "StringTable.h"
#include "WinApi.h"
#include "WinDefs.h"
