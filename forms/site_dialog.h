#pragma once
// The site editor. Writes the record back only on OK.

class TqelPwRec;

int ExecuteSite(TqelPwRec& rec);
