/*Error:
Success:
*/
/* A type qualifier or memory-space qualifier: it stands beside const in a declaration and in
   a type name. Storage classes and function specifiers are not allowed in a type name. */
const XXX int kx_a = 1;
const XXX int *kx_p = &kx_a;
unsigned long kx_s = sizeof(const XXX int *);
