/*Error:-vla-
Success:-vla+
*/
// Whether an array local to a function may have a size known only at run time.
int kx_f(int kx_n) { int kx_a[kx_n]; kx_a[0] = 1; return kx_a[0]; }
