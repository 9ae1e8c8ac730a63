// The pictures of the two play buttons: 32 x 32 triangles on a transparent
// background, blue when released, orange when pressed.
#pragma once

class wxIcon;

// Each call returns a new icon; the push button that receives it owns it.
wxIcon* NewPlayReverseReleasedIcon();
wxIcon* NewPlayReversePressedIcon();
wxIcon* NewPlayForwardReleasedIcon();
wxIcon* NewPlayForwardPressedIcon();
