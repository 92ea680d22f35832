#pragma once
// The stored property set of the DirectShow player window's seek bar H1, as the
// window's form keeps it: a horizontal bar with hidden arrows and the thumb at
// the bottom, range 0..32767, on a dark blue track. Keys are in lower case, as
// the form holds them; the bar matches them without regard to case.

#include "controls/property_bag.h"

// H1's stored properties, for dtVisualScrollBar::ReadProperties.
PropertyBag H1StoredProperties();
