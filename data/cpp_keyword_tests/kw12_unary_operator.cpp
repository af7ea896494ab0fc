/*Error:
Success:
*/
// A unary operator that the analyser may drop (real and imaginary parts).
double kx_f(double kx_z) { return XXX kx_z; }
