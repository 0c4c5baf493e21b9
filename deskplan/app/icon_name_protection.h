// Protection of the desktop icons' captions against renaming in place: the
// desktop list view's LVS_EDITLABELS bit, cleared when protectIconNames is on.
#pragma once

// Brings the list view's style into line with protectIconNames and records in
// protectionInForce what the view now holds. With persist, the choice is
// stored whatever the view allowed, so that a later start (or the shell's
// return) applies it. False when the view could not be brought into line: no
// view while protection is wanted, a style that cannot be read or written.
bool ApplyIconNameProtection(bool persist);

// Tells the user, unless quiet, that the choice could not be applied now.
void ShowProtectionNotApplied();
