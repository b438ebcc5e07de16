#pragma once

// An assembly map: a drawing's extent (the sheets' windows over it, y up)
// scaled down into a room on the page and centred there, in page
// millimetres (y down), and how large a sheet's number can be printed in
// its frame.
namespace vortalis::sheets {

struct Area {
  double left;
  double bottom;  // the drawing's lowest y; on the page: the room's top edge
  double width;
  double height;
};

struct MapFit {
  double scale;   // page mm per drawing mm
  double left;    // page mm of the extent's left edge
  double top;     // page mm of the extent's top edge (its highest y)
  double extentLeft;
  double extentTop;  // the extent's highest y

  double X(double x) const { return left + (x - extentLeft) * scale; }
  double Y(double y) const { return top + (extentTop - y) * scale; }
};

// `room` as on the page: `bottom` is its top edge, y down.
MapFit FitMap(const Area& extent, const Area& room);

// A sheet's number as large as its frame on the map allows (0.35 of its
// height, or of half its width when that is less), within 3 to 9 points.
double FrameNumberPoints(double windowWidth, double windowHeight, double scale);

}  // namespace vortalis::sheets
