/*Error:
Success:
*/
// A word that may open any declaration without changing its meaning.
XXX int kx_a;
XXX int kx_f();
int kx_g() { return kx_a + kx_f(); }
