/*Error:
Success:
*/
/* A modifier of the fixed-point types (saturation). It only combines with them, so it is
   not caught by the test before; compilers without fixed-point types reject this source. */
XXX _Fract kx_a;
XXX _Accum kx_b;
