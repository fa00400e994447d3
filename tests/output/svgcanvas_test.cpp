#include "svgcanvas_test.h"

#include <QTest>
#include <functional>
#include <string>

#include "svgcanvas.h"

namespace helidisk {
namespace {

using Drawing = std::function<void(Canvas&)>;

}  // namespace
}  // namespace helidisk

Q_DECLARE_METATYPE(helidisk::Drawing)

namespace helidisk {
namespace {

// The elements a drawing adds to a fresh canvas, without the document's
// head and tail.
QString ElementsOf(const Drawing& draw) {
  SvgCanvas canvas(10, 10);
  draw(canvas);
  const std::string document = canvas.Document();
  const std::size_t first = document.find("\">\n") + 3;
  const std::size_t last = document.rfind("</svg>");
  return QString::fromStdString(document.substr(first, last - first));
}

}  // namespace

void SvgCanvasTest::operationBecomesElement_data() {
  QTest::addColumn<Drawing>("draw");
  QTest::addColumn<QString>("elements");

  QTest::newRow("fill with the brush") << Drawing([](Canvas& c) {
    c.SetBrushColor(kRed);
    c.FillRect({1, 2, 5, 7});
  }) << "<rect x=\"1\" y=\"2\" width=\"4\" height=\"5\" fill=\"#ff0000\"/>\n";
  QTest::newRow("inverted fill paints nothing") << Drawing([](Canvas& c) {
    c.FillRect({5, 7, 1, 2});
  }) << "<rect x=\"5\" y=\"7\" width=\"0\" height=\"0\" fill=\"#ffffff\"/>\n";
  QTest::newRow("ellipse of the initial pen and brush")
      << Drawing([](Canvas& c) {
           c.Ellipse({0, 0, 10, 6});
         })
      << "<ellipse cx=\"5\" cy=\"3\" rx=\"4.5\" ry=\"2.5\" fill=\"#ffffff\" "
         "stroke=\"#000000\" stroke-width=\"1\"/>\n";
  QTest::newRow("ellipse outline inside its box")
      << Drawing([](Canvas& c) {
           c.SetBrushColor(kYellow);
           c.SetPenWidth(2);
           c.Ellipse({200, 18, 798, 608});
         })
      << "<ellipse cx=\"499\" cy=\"313\" rx=\"298\" ry=\"294\" fill=\"#ffff00\" "
         "stroke=\"#000000\" stroke-width=\"2\"/>\n";
  QTest::newRow("ellipse narrower than the pen")
      << Drawing([](Canvas& c) {
           c.SetPenWidth(10);
           c.Ellipse({0, 0, 4, 4});
         })
      << "<ellipse cx=\"2\" cy=\"2\" rx=\"1\" ry=\"1\" fill=\"#ffffff\" "
         "stroke=\"#000000\" stroke-width=\"2\"/>\n";
  QTest::newRow("inverted ellipse paints nothing")
      << Drawing([](Canvas& c) {
           c.Ellipse({10, 10, -14, -14});
         })
      << "<ellipse cx=\"-2\" cy=\"-2\" rx=\"0\" ry=\"0\" fill=\"#ffffff\" "
         "stroke=\"#000000\" stroke-width=\"0\"/>\n";
  QTest::newRow("thin line joins pixel centres")
      << Drawing([](Canvas& c) {
           c.SetPenColor(kGrey);
           c.MoveTo(1, 2);
           c.LineTo(-3, 4);
         })
      << "<line x1=\"1.5\" y1=\"2.5\" x2=\"-2.5\" y2=\"4.5\" stroke=\"#808080\" "
         "stroke-width=\"1\"/>\n";
  QTest::newRow("pen below 1 px draws 1 px")
      << Drawing([](Canvas& c) {
           c.SetPenWidth(0);
           c.LineTo(3, 0);
         })
      << "<line x1=\"0.5\" y1=\"0.5\" x2=\"3.5\" y2=\"0.5\" stroke=\"#000000\" "
         "stroke-width=\"1\"/>\n";
  QTest::newRow("even pen joins pixel corners, round caps")
      << Drawing([](Canvas& c) {
           c.SetPenWidth(2);
           c.SetPenColor(kBlue);
           c.MoveTo(10, 20);
           c.LineTo(30, 40);
         })
      << "<line x1=\"10\" y1=\"20\" x2=\"30\" y2=\"40\" stroke=\"#0000ff\" "
         "stroke-width=\"2\" stroke-linecap=\"round\"/>\n";
  QTest::newRow("odd wide pen joins pixel centres, round caps")
      << Drawing([](Canvas& c) {
           c.SetPenWidth(13);
           c.MoveTo(10, 20);
           c.LineTo(30, 40);
         })
      << "<line x1=\"10.5\" y1=\"20.5\" x2=\"30.5\" y2=\"40.5\" stroke=\"#000000\" "
         "stroke-width=\"13\" stroke-linecap=\"round\"/>\n";
  QTest::newRow("zero-length line is a dot")
      << Drawing([](Canvas& c) {
           c.SetPenWidth(10);
           c.SetPenColor(kGrey);
           c.MoveTo(7, 8);
           c.LineTo(7, 8);
         })
      << "<line x1=\"7\" y1=\"8\" x2=\"7\" y2=\"8\" stroke=\"#808080\" stroke-width=\"10\" "
         "stroke-linecap=\"round\"/>\n";
  QTest::newRow("polyline continues from the last end")
      << Drawing([](Canvas& c) {
           c.MoveTo(0, 0);
           c.LineTo(4, 0);
           c.LineTo(4, 4);
         })
      << "<line x1=\"0.5\" y1=\"0.5\" x2=\"4.5\" y2=\"0.5\" stroke=\"#000000\" "
         "stroke-width=\"1\"/>\n"
         "<line x1=\"4.5\" y1=\"0.5\" x2=\"4.5\" y2=\"4.5\" stroke=\"#000000\" "
         "stroke-width=\"1\"/>\n";
  QTest::newRow("extreme coordinates are exact")
      << Drawing([](Canvas& c) {
           c.MoveTo(INT32_MIN, INT32_MAX);
           c.LineTo(INT32_MAX, INT32_MIN);
         })
      << "<line x1=\"-2147483647.5\" y1=\"2147483647.5\" x2=\"2147483647.5\" "
         "y2=\"-2147483647.5\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
  QTest::newRow("pen and brush settings add nothing") << Drawing([](Canvas& c) {
    c.SetPenColor(kRed);
    c.SetPenWidth(5);
    c.SetBrushColor(kBlue);
    c.MoveTo(3, 3);
  }) << "";
}

void SvgCanvasTest::operationBecomesElement() {
  QFETCH(Drawing, draw);
  QFETCH(QString, elements);
  QCOMPARE(ElementsOf(draw), elements);
}

void SvgCanvasTest::documentSizeAndCount_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::addColumn<QString>("size");
  QTest::newRow("design image") << 998 << 626
                                << "width=\"998\" height=\"626\" viewBox=\"0 0 998 626\"";
  QTest::newRow("empty image") << 0 << -1 << "width=\"0\" height=\"0\" viewBox=\"0 0 0 0\"";
}

void SvgCanvasTest::documentSizeAndCount() {
  QFETCH(int, width);
  QFETCH(int, height);
  QFETCH(QString, size);
  SvgCanvas canvas(width, height);
  canvas.FillRect({0, 0, 4, 4});
  canvas.Ellipse({0, 0, 4, 4});
  canvas.LineTo(1, 1);
  QCOMPARE(canvas.ElementCount(), 3);
  const QString document = QString::fromStdString(canvas.Document());
  QVERIFY(document.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
  QVERIFY2(document.contains(size), qPrintable(document));
  QVERIFY(document.endsWith("</svg>\n"));
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::SvgCanvasTest)
