#pragma once

// Stored window lengths are in twips (1/1440 inch); the screen's logical DPI
// converts them (at 96 DPI one pixel is 15 twips). A DPI that is not positive
// is taken as 96.

int twipsToPixels(double twips, double logicalDpi);
float pixelsToTwips(int pixels, double logicalDpi);
