// The drawing layer: chart renderers and report pages that paint on any QPainter.
