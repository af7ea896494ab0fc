/* Read by the analyser before every source built for the 8051 with sdcc.
 *
 * Special-function registers and bits are hardware locations: every read may return a new
 * value and every write has an effect, so the analyser must see them as volatile objects of
 * their width. The keywords that declare them are therefore defined here, and the keyword
 * classification leaves everything named in the section below alone.
 */
#ifndef KESTRIX_SDCC_MCS51_H
#define KESTRIX_SDCC_MCS51_H

#if 1
/* Any other items: register declarations and the compiler's own identifiers follow. */
#define __sfr volatile unsigned char
#define __sfr16 volatile unsigned short
#define __sfr32 volatile unsigned long
#define __sbit volatile _Bool
#else
#endif

#endif /* KESTRIX_SDCC_MCS51_H */
