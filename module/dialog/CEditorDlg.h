// The modal editor of one Linear Interpolation element.
#pragma once

#include <array>
#include <string>

#include "base/ShortTextMemo.h"
#include "host/CMC_EditMotionDlg.h"
#include "module/model/CInternalData.h"
#include "platform/AfxWin.h"

class CEditorDlg : public CMC_EditMotionDlg {
  public:
    CEditorDlg(CMC_Setup& setup, CMC_Motion& motion, CString& parameterText, CWnd* parent);
    ~CEditorDlg() override;

    // The dialog's model, as the host's dialog base reaches it.
    CMC_EditMotionInternalData* GetInternalData() override;

    void InsertSegmentRow(CWnd* list, int index);
    void FillSegmentList(BOOL updateControls);
    void SelectCurrentSegment(BOOL updateControls);
    void FocusValueEdit(UINT id);

    // Clamps value (in the column's unit) to the column's limits and reduces it to what the
    // column's variable type holds.
    static void NormalizeValue(CMC_ArrayParameter& column, double& value);
    // Scans one segment-file line into a segment's values; FALSE when it holds the wrong count.
    BOOL ParseSegmentLine(const char* line, double& x, double& y, double& z, double& acceleration,
                          double& speed);

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnPrevious();
    void OnNext();
    void OnSelChangeSegmentList();
    void OnMoveUp();
    void OnMoveDown();
    void OnInsertAbove();
    void OnInsertBelow();
    void OnUpdateSegment();
    void OnRemove();
    void OnImport();
    void OnSelProfileType();
    void OnSelSlaveX();
    void OnSelSlaveY();
    void OnSelSlaveZ();
    void OnAccelerationCheck();
    void OnSpeedCheck();
    void OnKillFocusValue();
    void OnSelAccelerationUnit();
    void OnSelSpeedUnit();
    void OnSelUnitX();
    void OnSelUnitY();
    void OnSelUnitZ();
    void OnChangeEvent();
    void OnEditEvent();
    void OnHelp();

    DECLARE_MESSAGE_MAP()

  private:
    // A segment's values in the order of CInternalData::Columns().
    using Segment = std::array<double, 5>;

    BOOL m_bCombosFilled;
    CInternalData m_Data;
    int m_nCurrentSegment;
    CFont m_ListFont;

    // What reading the element's text reported, shown when the dialog opens.
    CString m_readProblems;
    // The numbers of imported segment files by their texts: a long file repeats its numbers.
    ShortTextMemo<double> m_importedNumbers;

    int SegmentCount() const;
    void WarnOfReadProblems();
    CString HeaderText() const;
    // The load pass of the data exchange (model to controls) and its parts.
    void RunLoadPass();
    void FillProfileCombo();
    void FillSlaveCombos();
    void ShowConfiguration();
    void ShowCurrentSegment();
    void EnableSegmentCommands();
    void ShowStartEvent();
    // The save pass (controls to model); while validating it fails on a slave axis to correct.
    void RunSavePass(CDataExchange* pDX);
    void FailOn(CDataExchange* pDX, int id, const char* text);
    void FailOn(CDataExchange* pDX, int id, UINT stringId);
    void EndCommand();

    BOOL ReadValue(UINT editId, CMC_ArrayParameter& column, double& value);
    BOOL ReadPositionX(double& value);
    BOOL ReadPositionY(double& value);
    BOOL ReadPositionZ(double& value);
    BOOL ReadAcceleration(double& value);
    BOOL ReadSpeed(double& value);
    BOOL ReadSegment(Segment& segment);
    void InsertSegmentValues(int index, const Segment& segment);
    // Value (in the column's unit) clamped to the column's limits and put in internal units. A
    // column reduces what it stores to what its type holds; for the whole and fixed-point
    // types it then stores the count that NormalizeValue's value stands for.
    static double LimitedInInternalUnit(const CMC_ArrayParameter& column, double value);
    // The numbers of one segment-file line, not yet normalised (Z is 0 in the 2D profile);
    // FALSE when it holds the wrong count.
    BOOL ScanSegmentLine(const char* line, Segment& numbers);
    void InsertSegment(int index, const Segment& segment);
    void SwapSegments(int a, int b);
    void MoveRow(int from, int to);

    void OnSelConfiguration(int& field);
    void OnSelUnit(CMC_ArrayParameter* column, UINT editId, UINT comboId);
    void ApplyRepeatRule(CMC_ArrayParameter& column, int index);
};
