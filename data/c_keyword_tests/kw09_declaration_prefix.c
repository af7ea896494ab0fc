/*Error:
Success:
*/
/* A word that may open any declaration without changing its meaning. */
XXX int kx_a;
XXX int kx_f(void);
int kx_g(void) { return kx_a + kx_f(); }
