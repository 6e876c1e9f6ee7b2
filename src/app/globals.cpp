#include "app/globals.h"

Model model;

QMainWindow* fw = nullptr;
std::string caption;

int p_rn = 3;
int iizol = 200, p_skok = 1;
int w_grup = 0, pgx = 0, pgy = 0, pgxx = 0, pgyy = 0;
