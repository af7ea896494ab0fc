/*Error:
Success:-ex longlong
*/
/* Whether long long is a type. */
long long kx_a = 1;
unsigned long long kx_b = 2;
