/*Error:
Success:type
*/
/* A type whose objects cannot be pointed to (bits and special-function registers): it still
   declares an object at a fixed address whose value can be compared. */
XXX __at(0x80) kx_a;
int kx_read(void) { return kx_a < 1; }
