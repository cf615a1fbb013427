#include "simu/run_settings.h"

double run_tsim = 0.001;
double run_td = 1e-6;
double run_start_si = 0.0;
double run_finish_si = 0.001;
int run_points = 9999999;
int run_sv = 1;
int run_ld = 0;
double run_sstol_f = 1e-6;
int run_nclkss = 25;
int run_stop_close = 0;
double run_sstol_c = 1.0;
int run_cycles_togo = 0;
int run_ssmethod = 1;
int run_none_c = 2;
int run_ss = 0;
int run_one_c = 0;

std::string base_name;
