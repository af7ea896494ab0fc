/*Error:
Success:
*/
/* A storage class that goes with static (thread-local storage). */
static XXX int kx_a;
int kx_f(void) { static XXX int kx_b; return kx_a + kx_b; }
