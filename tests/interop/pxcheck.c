/*
 * pxcheck: the Linux side of the interop tests. Makes fixture tables with pxlib,
 * prints the canonical dump pdxtool.exe must reproduce, and checks a primary
 * index against its table.
 *
 *   pxcheck make <dir>
 *   pxcheck dump <file.db> [<file.px>]
 *   pxcheck verifypx <file.db> <file.px>
 *
 * Works around pxlib 0.6.8: all-zero 4-byte values are tested before
 * PX_get_data_long (it misreads them on 64-bit), and .MB files are never
 * attached (that crashes it).
 */
#include <paradox.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int px_failed; /* set by the error handler on anything worse than a warning */

static void on_px_error(pxdoc_t *p, int level, const char *msg, void *data)
{
    (void)p;
    (void)data;
    fprintf(stderr, "pxlib%s: %s\n", level == PX_Warning ? " warning" : "", msg);
    if (level != PX_Warning)
        px_failed = 1;
}

static void die(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    fputs("pxcheck: ", stderr);
    vfprintf(stderr, fmt, ap);
    fputc('\n', stderr);
    va_end(ap);
    exit(2);
}

static void *xmalloc(size_t n)
{
    void *p = calloc(1, n ? n : 1);
    if (!p)
        die("out of memory");
    return p;
}

static pxdoc_t *open_doc(const char *path)
{
    pxdoc_t *doc = PX_new2(on_px_error, NULL, NULL, NULL);
    FILE *fp = fopen(path, "rb");
    if (!doc || !fp)
        die("cannot open %s", path);
    if (PX_open_fp(doc, fp) < 0)
        die("pxlib cannot open %s", path);
    return doc;
}

/* ---------------------------------------------------------------- make --- */

struct fdef {
    const char *name;
    char type;
    int len; /* stored size */
    int dec; /* BCD decimals */
};

static pxdoc_t *create_table(const char *dir, const char *file, const struct fdef *f, int nf,
                             int nkeys, int type, FILE **fpo)
{
    char path[4096];
    pxdoc_t *doc = PX_new2(on_px_error, NULL, NULL, NULL);
    pxfield_t *fields;
    FILE *fp;
    int i;

    snprintf(path, sizeof path, "%s/%s", dir, file);
    fp = fopen(path, "wb+");
    if (!doc || !fp)
        die("cannot create %s", path);
    /* pxlib frees the field array and names with its own allocator */
    fields = doc->malloc(doc, nf * sizeof *fields, "fields");
    for (i = 0; i < nf; i++) {
        fields[i].px_fname = PX_strdup(doc, f[i].name);
        fields[i].px_ftype = f[i].type;
        fields[i].px_flen = f[i].len;
        fields[i].px_fdc = f[i].dec;
    }
    if (PX_create_fp(doc, fields, nf, fp, type) < 0)
        die("PX_create_fp failed for %s", path);
    PX_set_tablename(doc, file);
    if (nkeys)
        PX_set_value(doc, "numprimkeys", nkeys);
    *fpo = fp;
    return doc;
}

static void finish(pxdoc_t *doc, FILE *fp)
{
    PX_close(doc);
    PX_delete(doc);
    if (fclose(fp) != 0)
        die("write error");
}

/* Writes <base>.px for the finished table <base>.db. The table is reopened so the
 * index is built from what actually reached the file. */
static void write_px(const char *dir, const char *base, const struct fdef *f, int nkeys)
{
    char path[4096];
    pxdoc_t *db, *pi;
    FILE *fp;

    snprintf(path, sizeof path, "%s/%s.db", dir, base);
    db = open_doc(path);
    snprintf(path, sizeof path, "%s.px", base);
    pi = create_table(dir, path, f, nkeys, 0, pxfFileTypPrimIndex, &fp);
    if (PX_write_primary_index(db, pi) < 0)
        die("PX_write_primary_index failed for %s", base);
    finish(pi, fp);
    PX_delete(db);
}

static char *field_at(char *rec, const struct fdef *f, int i)
{
    int off = 0, k;
    for (k = 0; k < i; k++)
        off += f[k].len;
    return rec + off;
}

enum { P_AUTO, P_NAME, P_SHORT, P_LONG, P_DATE, P_NUM, P_MONEY, P_FLAG, P_TIME, P_STAMP, P_BCD,
       P_BYTES, P_ONE, P_NFIELDS };

static const struct fdef plain_fields[P_NFIELDS] = {
    {"Auto", pxfAutoInc, 4, 0},       {"Name", pxfAlpha, 20, 0},
    {"Short", pxfShort, 2, 0},        {"Long", pxfLong, 4, 0},
    {"Date", pxfDate, 4, 0},          {"Number", pxfNumber, 8, 0},
    {"Money", pxfCurrency, 8, 0},     {"Flag", pxfLogical, 1, 0},
    {"Time", pxfTime, 4, 0},          {"Stamp", pxfTimestamp, 8, 0},
    {"Amount", pxfBCD, 17, 2},        {"Raw", pxfBytes, 10, 0},
    {"Stra\xdf" "e Nr", pxfAlpha, 1, 0}, /* cp1252 name with a space; shortest alpha */
};

/* Values that tend to break printers and encoders; cycled through the rows. */
static const char *const names[] = {
    "" /* stored as NULL */, "a|b\\c", "M\xfcller \xe4\xf6\xfc", "tab\there", "\x7f\x80\xff", " lead",
    "trail ", "x", "\x01", "ends with pipe|",
};
static const double numbers[] = {
    0.0, 0.1, 1.0 / 3, -123.456, 1e20, 1.5e-7, -1e300, 123456789012345678.0, 5e-324, -2.5,
};
static const char *const bcds[] = {
    "0.00", "-0.01", "123456789012345678901234567890.12", "-999.99", "42.50",
};

static void make_plain(const char *dir)
{
    const struct fdef *f = plain_fields;
    FILE *fp;
    pxdoc_t *doc = create_table(dir, "plain.db", f, P_NFIELDS, 0, pxfFileTypNonIndexDB, &fp);
    char *rec = xmalloc(PX_get_recordsize(doc));
    int i, c;

    doc->px_head->px_autoinc = 300; /* last value handed out; written with each record */
    for (i = 0; i < 300; i++) {
        memset(rec, 0, PX_get_recordsize(doc));
        for (c = 0; c < P_NFIELDS; c++) {
            char *d = field_at(rec, f, c), buf[40];
            /* every column is NULL in some rows, row 5 is NULL throughout */
            if (i == 5 || i % 17 == c)
                continue;
            switch (c) {
            case P_AUTO:
                PX_put_data_long(doc, d, 4, i + 1);
                break;
            case P_NAME:
                if (i % 20 == 0) { /* exactly 20 bytes: no terminator in the record */
                    snprintf(buf, sizeof buf, "R%03d-ABCDEFGHIJKLMNO", i);
                    PX_put_data_alpha(doc, d, 20, buf);
                } else {
                    PX_put_data_alpha(doc, d, 20, (char *)names[i % 10]);
                }
                break;
            case P_SHORT: {
                static const short edge[] = {-32767, 32767, 0, -1};
                PX_put_data_short(doc, d, 2,
                                  i < 4 ? edge[i] : (short)((i * 137) % 65535 - 32767));
                break;
            }
            case P_LONG: {
                static const int edge[] = {2147483647, -2147483647, 0, -1};
                PX_put_data_long(doc, d, 4, i < 4 ? edge[i] : (i - 150) * 14316557);
                break;
            }
            case P_DATE: /* day 1 = 0001-01-01; days before it are legal too */
                PX_put_data_long(doc, d, 4, i == 0 ? 1 : i == 1 ? -366 : 700000 + i * 211);
                break;
            case P_NUM:
                PX_put_data_double(doc, d, 8, i < 20 ? numbers[i % 10] : (i - 150) * 1.25);
                break;
            case P_MONEY:
                PX_put_data_double(doc, d, 8, ((i * 7919) % 100000 - 50000) / 100.0);
                break;
            case P_FLAG:
                PX_put_data_byte(doc, d, 1, i % 2);
                break;
            case P_TIME: /* 0 ms (midnight) is a value, not NULL */
                PX_put_data_long(doc, d, 4, i == 0 ? 0 : i == 1 ? 86399999 : (i * 287999) % 86400000);
                break;
            case P_STAMP:
                PX_put_data_double(doc, d, 8,
                                   (730000.0 + i) * 86400000.0 + (i * 1234567) % 86400000 +
                                       (i == 2 ? 0.5 : 0));
                break;
            case P_BCD:
                if (i < 5) {
                    PX_put_data_bcd(doc, d, 2, (char *)bcds[i]);
                } else {
                    snprintf(buf, sizeof buf, "%d.%02d", (i - 150) * 123, i % 100);
                    PX_put_data_bcd(doc, d, 2, buf);
                }
                break;
            case P_BYTES: {
                /* a leading zero byte does not make the value NULL */
                char b[10] = {(char)(i % 3 ? i : 0), 0, (char)0xff, (char)('a' + i % 26), '|',
                              '\\', 0, 0, (char)0x80, 1};
                PX_put_data_bytes(doc, d, 10, b);
                break;
            }
            case P_ONE:
                PX_put_data_alpha(doc, d, 1, i % 2 ? "\xdf" : "y");
                break;
            }
        }
        if (PX_put_record(doc, rec) < 0)
            die("PX_put_record failed (plain.db row %d)", i);
    }
    finish(doc, fp);
    free(rec);
}

static const struct fdef keyed_fields[] = {
    {"Id", pxfLong, 4, 0}, {"Text", pxfAlpha, 30, 0}, {"Qty", pxfShort, 2, 0}};

static void make_keyed(const char *dir)
{
    const struct fdef *f = keyed_fields;
    FILE *fp;
    pxdoc_t *doc = create_table(dir, "keyed.db", f, 3, 1, pxfFileTypIndexDB, &fp);
    char rec[36], buf[40];
    int i;

    for (i = 0; i < 600; i++) {
        memset(rec, 0, sizeof rec);
        /* negative keys first: the sign-flipped encoding must sort them */
        PX_put_data_long(doc, rec, 4, -900 + 3 * i);
        if (i % 13) {
            snprintf(buf, sizeof buf, "item %d %s", i, i % 2 ? "\xe4\xf6" : "|");
            PX_put_data_alpha(doc, rec + 4, 30, buf);
        }
        if (i % 11)
            PX_put_data_short(doc, rec + 34, 2, i % 200 - 100);
        if (PX_put_record(doc, rec) < 0)
            die("PX_put_record failed (keyed.db row %d)", i);
    }
    finish(doc, fp);
    write_px(dir, "keyed", f, 1);
}

static const struct fdef keyed2_fields[] = {
    {"Code", pxfAlpha, 10, 0}, {"Seq", pxfLong, 4, 0}, {"Note", pxfAlpha, 20, 0}};

static void make_keyed2(const char *dir)
{
    const struct fdef *f = keyed2_fields;
    FILE *fp;
    pxdoc_t *doc = create_table(dir, "keyed2.db", f, 3, 2, pxfFileTypIndexDB, &fp);
    char rec[34], buf[40];
    int i;

    for (i = 0; i < 400; i++) {
        memset(rec, 0, sizeof rec);
        /* equal-length lower-case codes: same order under every collation */
        snprintf(buf, sizeof buf, "grp%02d", i / 10);
        PX_put_data_alpha(doc, rec, 10, buf);
        PX_put_data_long(doc, rec + 10, 4, (i % 10) * 5 - 20);
        if (i % 7) {
            snprintf(buf, sizeof buf, "note %d", i);
            PX_put_data_alpha(doc, rec + 14, 20, buf);
        }
        if (PX_put_record(doc, rec) < 0)
            die("PX_put_record failed (keyed2.db row %d)", i);
    }
    finish(doc, fp);
    write_px(dir, "keyed2", f, 2);
}

static const struct fdef big_fields[] = {
    {"Id", pxfLong, 4, 0}, {"A", pxfAlpha, 200, 0}, {"B", pxfAlpha, 200, 0}, {"C", pxfAlpha, 200, 0}};

/* 604-byte records in pxlib's 16 KiB blocks (27 a block) and 10-byte PX entries in
 * 2 KiB blocks (204 a block): more than 204 * 27 rows need a second index level. */
#define BIG_ROWS 6000

static void make_big(const char *dir)
{
    const struct fdef *f = big_fields;
    FILE *fp;
    pxdoc_t *doc = create_table(dir, "big.db", f, 4, 1, pxfFileTypIndexDB, &fp);
    char rec[604], buf[210];
    int i, c;

    for (i = 0; i < BIG_ROWS; i++) {
        memset(rec, 0, sizeof rec);
        PX_put_data_long(doc, rec, 4, i * 2 + 1);
        for (c = 0; c < 3; c++) {
            int n = (i * 7 + c * 61) % 200 + 1, k;
            for (k = 0; k < n; k++)
                buf[k] = (char)('A' + (i + c + k) % 26);
            buf[n] = 0;
            PX_put_data_alpha(doc, rec + 4 + 200 * c, 200, buf);
        }
        if (PX_put_record(doc, rec) < 0)
            die("PX_put_record failed (big.db row %d)", i);
    }
    finish(doc, fp);
    write_px(dir, "big", f, 1);
}

static const struct fdef secret_fields[] = {
    {"Id", pxfLong, 4, 0}, {"Text", pxfAlpha, 60, 0}, {"Value", pxfNumber, 8, 0}, {"Day", pxfDate, 4, 0}};

static void make_secret(const char *dir, const char *file, int keyed, int rows)
{
    const struct fdef *f = secret_fields;
    FILE *fp;
    pxdoc_t *doc = create_table(dir, file, f, 4, keyed, keyed ? pxfFileTypIndexDB : pxfFileTypNonIndexDB, &fp);
    char rec[76], buf[64];
    int i;

    if (PX_set_parameter(doc, "password", "123") < 0)
        die("pxlib refuses a password for %s", file);
    for (i = 0; i < rows; i++) {
        memset(rec, 0, sizeof rec);
        PX_put_data_long(doc, rec, 4, keyed ? i * 10 - 500 : (i * 37) % 101 - 50);
        if (i % 9) {
            snprintf(buf, sizeof buf, "secret row %d %s", i, i % 2 ? "\xe9t\xe9" : "|x|");
            PX_put_data_alpha(doc, rec + 4, 60, buf);
        }
        if (i % 8)
            PX_put_data_double(doc, rec + 64, 8, (i - 50) / 8.0);
        if (i % 5)
            PX_put_data_long(doc, rec + 72, 4, 738000 + i);
        if (PX_put_record(doc, rec) < 0)
            die("PX_put_record failed (%s row %d)", file, i);
    }
    finish(doc, fp);
}

static int cmd_make(const char *dir)
{
    make_plain(dir);
    make_keyed(dir);
    make_keyed2(dir);
    make_big(dir);
    make_secret(dir, "secret.db", 0, 100);
    make_secret(dir, "secretk.db", 1, 150);
    write_px(dir, "secretk", secret_fields, 1);
    return px_failed ? 1 : 0;
}

/* ---------------------------------------------------------------- dump --- */

static int all_zero(const unsigned char *p, int n)
{
    while (n--)
        if (*p++)
            return 0;
    return 1;
}

static void put_hex(const unsigned char *p, int n)
{
    while (n--)
        printf("%02x", *p++);
}

static void put_value(pxdoc_t *doc, const pxfield_t *f, unsigned char *p)
{
    char *cp = (char *)p;
    long l;
    short s;
    double d;
    char b;
    int i;

    if (all_zero(p, f->px_flen)) {
        fputs("NULL", stdout);
        return;
    }
    switch (f->px_ftype) {
    case pxfAlpha:
        for (i = 0; i < f->px_flen && p[i]; i++) {
            if (p[i] < 0x20 || p[i] > 0x7e || p[i] == '|' || p[i] == '\\')
                printf("\\x%02x", p[i]);
            else
                putchar(p[i]);
        }
        break;
    case pxfShort:
        PX_get_data_short(doc, cp, 2, &s);
        printf("%d", s);
        break;
    case pxfLong:
    case pxfDate:
    case pxfTime:
    case pxfAutoInc:
        PX_get_data_long(doc, cp, 4, &l);
        printf("%ld", l);
        break;
    case pxfNumber:
    case pxfCurrency:
    case pxfTimestamp:
        PX_get_data_double(doc, cp, 8, &d);
        printf("%.17g", d);
        break;
    case pxfLogical:
        PX_get_data_byte(doc, cp, 1, &b);
        fputs(b ? "true" : "false", stdout);
        break;
    default: /* BCD, bytes, blobs: the stored bytes as they are */
        put_hex(p, f->px_flen);
        break;
    }
}

static int cmd_dump(const char *dbpath, const char *pxpath)
{
    pxdoc_t *doc = open_doc(dbpath);
    int nf = PX_get_num_fields(doc), nr = PX_get_num_records(doc), r, i;
    pxfield_t *fields = PX_get_fields(doc);
    unsigned char *rec;

    if (pxpath) {
        pxdoc_t *pi = open_doc(pxpath);
        if (PX_read_primary_index(pi) < 0 || PX_add_primary_index(doc, pi) < 0)
            die("pxlib cannot use the index %s", pxpath);
    }
    printf("fields %d records %d keys %d\n", nf, nr, doc->px_head->px_primarykeyfields);
    for (i = 0; i < nf; i++)
        printf("field %d %s %02x %d\n", i + 1, fields[i].px_fname, (unsigned char)fields[i].px_ftype,
               fields[i].px_ftype == pxfBCD ? fields[i].px_fdc : fields[i].px_flen);
    rec = xmalloc(PX_get_recordsize(doc));
    for (r = 0; r < nr; r++) {
        unsigned char *p = rec;
        if (!PX_get_record(doc, r, (char *)rec))
            die("pxlib cannot read record %d of %s", r, dbpath);
        for (i = 0; i < nf; i++) {
            if (i)
                putchar('|');
            put_value(doc, &fields[i], p);
            p += fields[i].px_flen;
        }
        putchar('\n');
    }
    free(rec);
    if (fflush(stdout) != 0)
        die("write error");
    return px_failed ? 1 : 0;
}

/* ------------------------------------------------------------ verifypx --- */

/* Raw file access for what pxlib hides or gets wrong. Bytes past the end of the
 * file read as zero (the engine may cut the last block short). */
struct rawfile {
    unsigned char *b;
    long n;
};

static struct rawfile load(const char *path)
{
    struct rawfile f = {0, 0};
    FILE *fp = fopen(path, "rb");
    if (!fp || fseek(fp, 0, SEEK_END) != 0 || (f.n = ftell(fp)) < 0x58)
        die("cannot read %s", path);
    rewind(fp);
    f.b = xmalloc(f.n);
    if (fread(f.b, 1, f.n, fp) != (size_t)f.n)
        die("cannot read %s", path);
    fclose(fp);
    return f;
}

static unsigned byte_at(const struct rawfile *f, long off)
{
    return off >= 0 && off < f->n ? f->b[off] : 0;
}

static unsigned le16(const struct rawfile *f, long off)
{
    return byte_at(f, off) | byte_at(f, off + 1) << 8;
}

static unsigned long le32(const struct rawfile *f, long off)
{
    return le16(f, off) | (unsigned long)le16(f, off + 2) << 16;
}

/* 2-byte values in PX entries are stored like S fields */
static int s_value(const unsigned char *p)
{
    return (short)(((p[0] ^ 0x80) << 8) | p[1]);
}

struct chainblk { /* one .DB block of the chain */
    int no, count;
    unsigned char *key;
};

struct pxent {
    unsigned char *key;
    int ptr, count, myblock, level; /* level as pxlib labelled it, 0 if read raw */
};

struct pxblk {
    int no, first, n, visited;
};

struct verify {
    int keylen;
    struct pxent *ent;
    int nent;
    struct pxblk *blk;
    int nblk;
    struct pxent **leaf;
    int nleaf;
    int check_labels; /* the layout is one pxlib claims to read: its levels must be right */
    char why[512];
};

static int fail(struct verify *v, const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(v->why, sizeof v->why, fmt, ap);
    va_end(ap);
    return -1;
}

static unsigned char *keydup(const unsigned char *p, int n)
{
    unsigned char *k = xmalloc(n);
    memcpy(k, p, n);
    return k;
}

/* The .DB chain from the block headers; record counts come from addDataSize. */
static int db_chain_raw(struct verify *v, const char *path, struct chainblk *c, int *nc)
{
    struct rawfile f = load(path);
    unsigned rs = le16(&f, 0), hs = le16(&f, 2), bs = byte_at(&f, 5) * 1024u;
    unsigned fileblocks = le16(&f, 0x0c), blk = le16(&f, 0x0e), last = le16(&f, 0x10), prev = 0;
    unsigned char *seen = xmalloc(fileblocks + 1);

    *nc = 0;
    while (blk) {
        long at = hs + (long)(blk - 1) * bs;
        int add = (short)le16(&f, at + 4), k;
        if (blk > fileblocks || seen[blk])
            return fail(v, "DB chain reaches block %u twice or beyond fileBlocks %u", blk, fileblocks);
        seen[blk] = 1;
        if (le16(&f, at + 2) != prev)
            return fail(v, "DB block %u: prev is %u, expected %u", blk, le16(&f, at + 2), prev);
        if (rs == 0 || add < -(int)rs || (add + (int)rs) % (int)rs || add + rs + 6 > bs)
            return fail(v, "DB block %u: addDataSize %d does not fit record size %u", blk, add, rs);
        c[*nc].no = blk;
        c[*nc].count = add / (int)rs + 1;
        c[*nc].key = xmalloc(v->keylen);
        for (k = 0; k < v->keylen; k++)
            c[*nc].key[k] = byte_at(&f, at + 6 + k);
        ++*nc;
        prev = blk;
        blk = le16(&f, at);
    }
    if (prev != last)
        return fail(v, "DB chain ends at block %u, header lastBlock is %u", prev, last);
    free(seen);
    free(f.b);
    return 0;
}

/* The same through pxlib, which decrypts: blocks are where consecutive records live. */
static int db_chain_pxlib(struct verify *v, pxdoc_t *db, struct chainblk *c, int *nc)
{
    int nr = PX_get_num_records(db), r = 0;
    char *rec = xmalloc(PX_get_recordsize(db));

    *nc = 0;
    while (r < nr) {
        pxdatablockinfo_t info;
        int deleted = 0;
        if (!PX_get_record2(db, r, rec, &deleted, &info))
            return fail(v, "pxlib cannot read record %d", r);
        if (info.recno != 0 || info.numrecords < 1)
            return fail(v, "record %d is not the first of DB block %d", r, info.number);
        c[*nc].no = info.number;
        c[*nc].count = info.numrecords;
        c[*nc].key = keydup((unsigned char *)rec, v->keylen);
        ++*nc;
        r += info.numrecords;
    }
    free(rec);
    return 0;
}

/* Groups consecutive entries by the PX block they were read from. */
static void group_blocks(struct verify *v)
{
    int i;
    v->blk = xmalloc((v->nent + 1) * sizeof *v->blk);
    v->nblk = 0;
    for (i = 0; i < v->nent; i++) {
        if (i == 0 || v->ent[i].myblock != v->ent[i - 1].myblock) {
            v->blk[v->nblk].no = v->ent[i].myblock;
            v->blk[v->nblk].first = i;
            v->nblk++;
        }
        v->blk[v->nblk - 1].n++;
    }
}

static int px_read_pxlib(struct verify *v, const char *path, int *levels, int *root)
{
    pxdoc_t *pi = open_doc(path);
    pxpindex_t *d;
    int i;

    if (pi->px_head->px_recordsize - 6 != v->keylen) {
        fail(v, "PX key size %d, table key size %d", pi->px_head->px_recordsize - 6, v->keylen);
        return -2;
    }
    *levels = pi->px_head->px_numindexlevels;
    *root = pi->px_head->px_indexroot;
    v->nent = pi->px_head->px_numrecords;
    if (v->nent == 0)
        return 0;
    px_failed = 0;
    if (PX_read_primary_index(pi) < 0 || px_failed)
        return -1;
    d = pi->px_data;
    v->ent = xmalloc(v->nent * sizeof *v->ent);
    for (i = 0; i < v->nent; i++) {
        v->ent[i].key = (unsigned char *)d[i].data;
        v->ent[i].ptr = d[i].blocknumber;
        v->ent[i].count = d[i].numrecords;
        v->ent[i].myblock = d[i].myblocknumber;
        v->ent[i].level = d[i].level;
    }
    group_blocks(v);
    return 0;
}

static int px_read_raw(struct verify *v, const char *path, int *levels, int *root)
{
    struct rawfile f = load(path);
    unsigned rs = le16(&f, 0), hs = le16(&f, 2), bs = byte_at(&f, 5) * 1024u;
    unsigned fileblocks = le16(&f, 0x0c), blk = le16(&f, 0x0e), n = 0;
    unsigned char *seen = xmalloc(fileblocks + 1);

    if (byte_at(&f, 4) != 1)
        return fail(v, "%s is not a primary index (file type %u)", path, byte_at(&f, 4));
    if (rs - 6 != (unsigned)v->keylen)
        return fail(v, "PX key size %u, table key size %d", rs - 6, v->keylen);
    *root = le16(&f, 0x1e);
    *levels = byte_at(&f, 0x20);
    v->nent = le32(&f, 6);
    v->ent = xmalloc((v->nent + 1) * sizeof *v->ent);
    while (blk) {
        long at = hs + (long)(blk - 1) * bs;
        int add = (short)le16(&f, at + 4), cnt, k;
        if (blk > fileblocks || seen[blk])
            return fail(v, "PX chain reaches block %u twice or beyond fileBlocks %u", blk, fileblocks);
        seen[blk] = 1;
        if (add < -(int)rs || (add + (int)rs) % (int)rs || add + rs + 6 > bs)
            return fail(v, "PX block %u: addDataSize %d does not fit record size %u", blk, add, rs);
        cnt = add / (int)rs + 1;
        for (k = 0; k < cnt; k++, n++) {
            unsigned char e[6];
            long p = at + 6 + (long)k * rs;
            int j;
            if (n >= (unsigned)v->nent)
                return fail(v, "PX blocks hold more entries than the header's %d", v->nent);
            v->ent[n].key = xmalloc(v->keylen);
            for (j = 0; j < v->keylen; j++)
                v->ent[n].key[j] = byte_at(&f, p + j);
            for (j = 0; j < 6; j++)
                e[j] = byte_at(&f, p + v->keylen + j);
            v->ent[n].ptr = s_value(e);
            v->ent[n].count = s_value(e + 2);
            v->ent[n].myblock = blk;
        }
        blk = le16(&f, at);
    }
    if (n != (unsigned)v->nent)
        return fail(v, "PX blocks hold %u entries, header says %d", n, v->nent);
    group_blocks(v);
    free(seen);
    free(f.b);
    return 0;
}

static struct pxblk *find_blk(struct verify *v, int no)
{
    int i;
    for (i = 0; i < v->nblk; i++)
        if (v->blk[i].no == no)
            return &v->blk[i];
    return NULL;
}

/* Walks the tree from PX block no at the given level; returns the first key and
 * the record count below it. */
static int visit(struct verify *v, int no, int level, unsigned char **first, long *sum)
{
    struct pxblk *b = find_blk(v, no);
    int i;

    if (!b)
        return fail(v, "PX block %d (level %d) is referenced but holds no entries", no, level);
    if (b->visited)
        return fail(v, "PX block %d is referenced twice", no);
    b->visited = level;
    *sum = 0;
    *first = v->ent[b->first].key;
    for (i = b->first; i < b->first + b->n; i++) {
        struct pxent *e = &v->ent[i];
        if (level > 1) {
            unsigned char *k;
            long s;
            if (visit(v, e->ptr, level - 1, &k, &s) < 0)
                return -1;
            if (e->count != s)
                return fail(v, "level-%d entry %d in PX block %d: count %d, entries below sum to %ld",
                            level, i - b->first + 1, no, e->count, s);
            if (memcmp(e->key, k, v->keylen))
                return fail(v, "level-%d entry %d in PX block %d: key differs from the first key below",
                            level, i - b->first + 1, no);
        } else {
            v->leaf[v->nleaf++] = e;
        }
        if (v->check_labels && e->level != level)
            return fail(v, "pxlib takes entry %d of PX block %d for level %d, it is level %d",
                        i - b->first + 1, no, e->level, level);
        *sum += e->count;
    }
    return 0;
}

static int check_index(struct verify *v, const char *dbpath, const char *pxpath)
{
    pxdoc_t *db = open_doc(dbpath);
    pxfield_t *f = PX_get_fields(db);
    int nkeys = db->px_head->px_primarykeyfields, nr = PX_get_num_records(db);
    int encrypted = db->px_head->px_encryption != 0;
    int levels = 0, root = 0, nc, i;
    struct chainblk *c;
    unsigned char *first;
    long sum = 0, total = 0;

    if (nkeys < 1)
        return fail(v, "%s has no primary key", dbpath);
    for (i = 0; i < nkeys; i++)
        v->keylen += f[i].px_flen;

    c = xmalloc((db->px_head->px_fileblocks + 1) * sizeof *c);
    if ((encrypted ? db_chain_pxlib(v, db, c, &nc) : db_chain_raw(v, dbpath, c, &nc)) < 0)
        return -1;
    for (i = 0; i < nc; i++)
        total += c[i].count;
    if (total != nr)
        return fail(v, "DB blocks hold %ld records, header says %d", total, nr);

    /* PXCHECK_RAWPX=1 forces the raw reader, to test it on indexes pxlib reads */
    i = getenv("PXCHECK_RAWPX") ? -1 : px_read_pxlib(v, pxpath, &levels, &root);
    if (i == -2)
        return -1;
    if (i == -1) {
        if (!getenv("PXCHECK_RAWPX"))
            fprintf(stderr, "pxcheck: pxlib cannot read %s, reading it raw\n", pxpath);
        if (px_read_raw(v, pxpath, &levels, &root) < 0)
            return -1;
    }

    v->leaf = xmalloc((v->nent + 1) * sizeof *v->leaf);
    v->check_labels = i == 0 && (levels < 2 || (levels == 2 && root == 1));
    if (v->nent == 0) {
        if (nr != 0)
            return fail(v, "index is empty, table has %d records", nr);
    } else {
        if (levels < 1)
            return fail(v, "PX header says %d levels but holds %d entries", levels, v->nent);
        if (visit(v, root, levels, &first, &sum) < 0)
            return -1;
        for (i = 0; i < v->nblk; i++)
            if (!v->blk[i].visited)
                return fail(v, "PX block %d is not reachable from root block %d", v->blk[i].no, root);
    }
    if (v->nleaf != nc)
        return fail(v, "%d leaf entries for %d DB blocks", v->nleaf, nc);
    for (i = 0; i < nc; i++) {
        struct pxent *e = v->leaf[i];
        if (e->ptr != c[i].no)
            return fail(v, "leaf entry %d points at DB block %d, block %d of the chain is %d",
                        i + 1, e->ptr, i + 1, c[i].no);
        if (e->count != c[i].count)
            return fail(v, "leaf entry %d (DB block %d): count %d, block holds %d",
                        i + 1, e->ptr, e->count, c[i].count);
        if (memcmp(e->key, c[i].key, v->keylen))
            return fail(v, "leaf entry %d (DB block %d): key differs from the block's first record",
                        i + 1, e->ptr);
    }
    if (sum != nr)
        return fail(v, "leaf counts sum to %ld, table has %d records", sum, nr);

    /* the layout pxlib can use must also be accepted by it */
    if (levels <= 2 && (levels < 2 || root == 1) && nr > 0) {
        pxdoc_t *pi = open_doc(pxpath);
        px_failed = 0;
        if (PX_read_primary_index(pi) < 0 || PX_add_primary_index(db, pi) < 0 || px_failed)
            return fail(v, "pxlib refuses the index");
    }
    printf("px ok: %d levels, %d leaf entries\n", levels, v->nleaf);
    return 0;
}

static int cmd_verifypx(const char *dbpath, const char *pxpath)
{
    struct verify v;
    memset(&v, 0, sizeof v);
    if (check_index(&v, dbpath, pxpath) < 0) {
        printf("px FAIL: %s\n", v.why);
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 3 && !strcmp(argv[1], "make"))
        return cmd_make(argv[2]);
    if ((argc == 3 || argc == 4) && !strcmp(argv[1], "dump"))
        return cmd_dump(argv[2], argc == 4 ? argv[3] : NULL);
    if (argc == 4 && !strcmp(argv[1], "verifypx"))
        return cmd_verifypx(argv[2], argv[3]);
    fprintf(stderr, "usage: pxcheck make <dir>\n"
                    "       pxcheck dump <file.db> [<file.px>]\n"
                    "       pxcheck verifypx <file.db> <file.px>\n");
    return 2;
}
