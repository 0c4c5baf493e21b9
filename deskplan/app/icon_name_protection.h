// Protection of the desktop icons' captions against renaming in place: the
// desktop list view's LVS_EDITLABELS bit, cleared when protectIconNames is on.
#pragma once

// Brings the list view's style into line with protectIconNames; with persist,
// stores the option once the style was written. Fails silently.
void ApplyIconNameProtection(bool persist);
