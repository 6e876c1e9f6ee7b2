#include "app/globals.h"

Model model;

QMainWindow* fw = nullptr;
std::string caption;

float ax = 0.0f, aa = 0.0f, sx = 1.0f, sa = 1.0f, asp_r = 1.0f;
int hmax = 0;
int p_rn = 3;
int iizol = 200, p_skok = 1;
int w_grup = 0, pgx = 0, pgy = 0, pgxx = 0, pgyy = 0;
