// What a motion knows of one slave axis of its controller.
#pragma once

class CMC_Setup;

class CMC_AxisData {
  public:
    explicit CMC_AxisData(CMC_Setup* axisSetup) : m_pAxisSetup(axisSetup) {}
    virtual ~CMC_AxisData() = default;

    // The setup of the drive that runs the axis, or null.
    virtual CMC_Setup* GetAxisSetup() { return m_pAxisSetup; }

  private:
    CMC_Setup* m_pAxisSetup;
};
