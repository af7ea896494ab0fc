/*Error:
Success:
*/
/* A function specifier written after the parameter list (critical, naked, reentrant, banked). */
void kx_f(void) XXX { }
