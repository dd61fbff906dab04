'use strict'

const net = require('node:net')
const { EventEmitter } = require('node:events')
const { performance } = require('node:perf_hooks')
const { splitWords } = require('./words')
const { Layout } = require('./layout')

// The panel's own lines are far shorter; a longer one is skipped to its end.
const kLongestLine = 4096
// The panel takes 50 commands a second from a client; staying below leaves room for its own
// count to start a little earlier than ours.
const kCommandsPerSecond = 40
const kBurst = 20
// Commands sent but not yet answered. Turns that wait behind them add up, so a fast encoder
// costs one TURN per knob however many detents it sends meanwhile.
const kMostInFlight = 2
// An action may wait on the line while the unit is busy; an answer later than this means the
// connection is stuck, and it starts again.
const kAnswerPatience_ms = 15000
const kFirstRetry_ms = 500
const kLastRetry_ms = 8000

// A client of the panel's line protocol with no hub in it: it connects, subscribes to the
// pushed state, sends commands under the panel's rate with each answer matched to its
// command in order, and finds the panel again after it closes or restarts.
//
// Events: 'status' (state, text): 'connecting', 'ok', 'refused' (the panel's reason),
// 'read-only' (the panel's reason) or 'closed' (why); 'state' (words after STATE);
// 'refusal' (reason) for an action answered OK that the panel refused when its turn came;
// 'bad' (line, why) for a line that does not read.
class PanelClient extends EventEmitter {
	constructor({ host, port, firstRetry_ms = kFirstRetry_ms, lastRetry_ms = kLastRetry_ms }) {
		super()
		this.host = host
		this.port = port
		this.firstRetry_ms = firstRetry_ms
		this.lastRetry_ms = lastRetry_ms
		this.retry_ms = firstRetry_ms
		this.socket = null
		this.subscribed = false
		this.stopped = true
		this.retryTimer = null
		this.paceTimer = null
		this.queue = []
		this.inFlight = []
		this.tokens = kBurst
		this.tokensAt = performance.now()
		this.pending = ''
		this.skipping = false
		this.refusal = ''
		this.failing = false
	}

	start() {
		this.stopped = false
		this.failing = false
		this.connect()
	}

	stop() {
		this.stopped = true
		clearTimeout(this.retryTimer)
		this.drop('stopped')
	}

	get connected() {
		return this.subscribed
	}

	// Sends one command line; resolves with { ok, text }, the answer without its OK or ERR.
	// Refused at once while the panel is not connected: an action should not fire later.
	command(line) {
		return this.enqueue({ line })
	}

	// Turns knob 1..8 by `delta` steps; turns of one knob that wait to be sent go as one.
	turn(knob, delta) {
		const waiting = this.queue.find((item) => item.knob === knob)
		if (waiting && Math.abs(waiting.delta + delta) <= Layout.largestNumber) {
			waiting.delta += delta
			return new Promise((resolve, reject) => waiting.callers.push({ resolve, reject }))
		}
		return this.enqueue({ knob, delta })
	}

	enqueue(item) {
		if (!this.subscribed) return Promise.reject(new Error('The panel is not connected.'))
		if (item.line !== undefined && /[\r\n]/.test(item.line)) {
			return Promise.reject(new Error('A command is one line.'))
		}
		return new Promise((resolve, reject) => {
			item.callers = [{ resolve, reject }]
			this.queue.push(item)
			this.pump()
		})
	}

	connect() {
		if (this.stopped) return
		// After a failure the hub keeps showing why until a connection works again.
		if (!this.failing) this.emit('status', 'connecting', `${this.host}:${this.port}`)
		const socket = net.createConnection({ host: this.host, port: this.port })
		socket.setNoDelay(true)
		socket.setEncoding('utf8')
		this.socket = socket
		this.pending = ''
		this.skipping = false
		this.refusal = ''
		socket.on('connect', () => {
			this.inFlight.push({ subscribe: true, sentAt: performance.now(), callers: [] })
			socket.write('SUBSCRIBE\n')
		})
		socket.on('data', (data) => this.read(data))
		socket.on('error', (error) => {
			if (this.socket === socket) this.drop(error.message)
		})
		socket.on('close', () => {
			if (this.socket === socket) this.drop('The panel closed the connection.')
		})
		socket.setTimeout(kAnswerPatience_ms, () => {
			if (this.inFlight.length > 0 && this.socket === socket) this.drop('The panel did not answer in time.')
		})
	}

	// Ends the connection, fails what waits on it, and tries again after the backoff.
	drop(why) {
		const socket = this.socket
		this.socket = null
		const wasSubscribed = this.subscribed
		this.subscribed = false
		clearTimeout(this.paceTimer)
		this.paceTimer = null
		if (socket) socket.destroy()
		const failure = new Error(why)
		for (const item of [...this.inFlight, ...this.queue]) {
			for (const caller of item.callers) caller.reject(failure)
		}
		this.inFlight = []
		this.queue = []
		this.failing = true
		if (this.stopped) return
		if (this.refusal) {
			this.emit('status', 'refused', this.refusal)
		} else {
			this.emit('status', 'closed', why)
		}
		if (wasSubscribed) this.retry_ms = this.firstRetry_ms
		clearTimeout(this.retryTimer)
		this.retryTimer = setTimeout(() => this.connect(), this.retry_ms)
		this.retry_ms = Math.min(this.retry_ms * 2, this.lastRetry_ms)
	}

	read(data) {
		this.pending += data
		let end
		while ((end = this.pending.indexOf('\n')) >= 0) {
			const line = this.pending.slice(0, end).replace(/\r$/, '')
			this.pending = this.pending.slice(end + 1)
			if (this.skipping) {
				this.skipping = false
			} else {
				this.take(line)
			}
			if (!this.socket) return
		}
		if (this.pending.length > kLongestLine) {
			this.emit('bad', this.pending.slice(0, 80), `a line longer than ${kLongestLine} bytes`)
			this.pending = ''
			this.skipping = true
		}
	}

	take(line) {
		if (line.startsWith('STATE ')) {
			const words = splitWords(line.slice('STATE '.length))
			if (!words) {
				this.emit('bad', line, 'a quoted word has no closing quote')
			} else {
				this.emit('state', words)
			}
			return
		}
		if (line.startsWith('REFUSED ')) {
			// No answer to a command: the action it tells of was answered OK before.
			this.emit('refusal', line.slice('REFUSED '.length))
			return
		}
		const answer = /^(OK|ERR)(?: (.*))?$/.exec(line)
		if (!answer) {
			this.emit('bad', line, 'neither an answer nor a push')
			return
		}
		const ok = answer[1] === 'OK'
		const text = answer[2] ?? ''
		const item = this.inFlight.shift()
		if (!item || item.subscribe) {
			if (ok) {
				this.subscribed = true
				this.failing = false
				this.retry_ms = this.firstRetry_ms
				this.emit('status', 'ok', `${this.host}:${this.port}`)
				this.pump()
			} else {
				// An answer nobody asked for, or a refused SUBSCRIBE: the panel turned us away and
				// closes the connection next.
				this.refusal = text
			}
			return
		}
		if (!ok && text.startsWith('read-only:')) this.emit('status', 'read-only', text)
		// Turns that went as one share their answer.
		const reply = { ok, text }
		for (const caller of item.callers) caller.resolve(reply)
		this.pump()
	}

	// Sends what waits while the rate and the commands in flight allow.
	pump() {
		while (this.socket && this.subscribed && this.queue.length > 0 && this.inFlight.length < kMostInFlight) {
			const now = performance.now()
			this.tokens = Math.min(kBurst, this.tokens + ((now - this.tokensAt) * kCommandsPerSecond) / 1000)
			this.tokensAt = now
			if (this.tokens < 1) {
				if (!this.paceTimer) {
					const wait_ms = ((1 - this.tokens) * 1000) / kCommandsPerSecond
					this.paceTimer = setTimeout(() => {
						this.paceTimer = null
						this.pump()
					}, Math.ceil(wait_ms))
				}
				return
			}
			const item = this.queue.shift()
			if (item.knob !== undefined && item.delta === 0) {
				for (const caller of item.callers) caller.resolve({ ok: true, text: '' })
				continue
			}
			this.tokens -= 1
			item.sentAt = now
			this.inFlight.push(item)
			this.socket.write((item.line ?? `TURN ${item.knob} ${item.delta}`) + '\n')
		}
	}
}

module.exports = { PanelClient }
