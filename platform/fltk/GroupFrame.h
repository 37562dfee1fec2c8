// A group box: an engraved frame with its caption set into the top edge.
#pragma once

#include <FL/Fl_Widget.H>

class GroupFrame : public Fl_Widget {
  public:
    GroupFrame(int x, int y, int width, int height);

  protected:
    void draw() override;
};
