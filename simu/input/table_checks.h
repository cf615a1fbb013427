// Shapes and values of the netlist's tables checked against its element and output rows,
// so that a table that does not fit the circuit stops the run before anything is built.
//
//     read_netlist("c.m", p);
//     check_netlist_tables(*p);   // throws "Sread Fatal Error : <what> - <table>\n" and the place
//
// Counted from the rows: outputs (rows of Y), switches (S and D rows, the length of a
// setting), capacitors and inductors (the x0 candidates), conditions (rows of Cy). The
// text points at the offending number where the reader saw it, else at the table.
#pragma once

struct sim_params;

void check_netlist_tables(const sim_params& p);
