#!/usr/bin/env bash
# Fails when a file includes a layer above its own: Qt Widgets outside src/ui,
# Qt Gui (or Qt Print Support) inside src/core.
set -u
root="${1:-.}"
cd "$root" || exit 2
widgets='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](QtWidgets/|Q(Widget|Dialog|MainWindow|Application|PushButton|Label|LineEdit|TableWidget|TableView|TreeView|ListWidget|ComboBox|CheckBox|MessageBox|ToolBar|MenuBar|Menu|StatusBar|SystemTrayIcon|TabWidget|TextEdit|PlainTextEdit|ProgressBar|Layout|[HV]BoxLayout|GridLayout|FormLayout|SpinBox|DoubleSpinBox|DateEdit|DateTimeEdit|GroupBox|Frame|ScrollArea|Splitter|HeaderView|AbstractItemView|StyledItemDelegate|FileDialog|RadioButton|ToolButton|Action|ActionGroup|SizePolicy|Shortcut|DialogButtonBox|StackedWidget|Slider|LCDNumber|ButtonGroup|Style|StyleOption|GraphicsView|GraphicsScene)[>"])'
gui='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](QtGui/|QtPrintSupport/|Q(Painter|Image|Pixmap|Color|Font|FontMetrics|FontDatabase|Pen|Brush|Icon|GuiApplication|PdfWriter|Printer|PrinterInfo|PageLayout|PagedPaintDevice|Polygon|PolygonF|PainterPath|Transform|LinearGradient|RadialGradient|Gradient|Palette|Bitmap|Region|Desktop[Ss]ervices|Screen|Window|Cursor|KeySequence|TextDocument|StandardItemModel|Validator|IntValidator|DoubleValidator|RegularExpressionValidator|Picture|ImageReader|ImageWriter|Movie|OpenGL[A-Za-z]*)[>"])'
status=0
hits=$(grep -rEn "$widgets" --include='*.h' --include='*.cpp' src tests bench 2>/dev/null | grep -v '^src/ui/' | grep -v '^tests/ui/' | grep -v '^tests/support/test_main.cpp' | grep -v '^bench/')
if [ -n "$hits" ]; then
  echo "Qt Widgets used outside the windows layer:"; echo "$hits"; status=1
fi
hits=$(grep -rEn "$gui" --include='*.h' --include='*.cpp' src/core 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Qt Gui used in the logic layer:"; echo "$hits"; status=1
fi
if grep -rEn "$widgets" --include='*.h' --include='*.cpp' src/cli >/dev/null 2>&1; then
  echo "tork-tool must not use Qt Widgets"; status=1
fi
exit $status
